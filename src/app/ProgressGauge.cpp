#include "app/ProgressGauge.h"

#include <QPainter>
#include <algorithm>

namespace kestal {

ProgressGauge::ProgressGauge(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ProgressGauge::setMinValue(int value) {
    min_ = value;
    update();
}

void ProgressGauge::setMaxValue(int value) {
    max_ = value;
    update();
}

void ProgressGauge::setProgress(int value) {
    if (value == progress_) return;
    progress_ = value;
    update();
}

int ProgressGauge::percentDone(int min, int max, int progress) {
    if (max == min) return 0;
    const long long lo = std::min(min, max);
    const long long hi = std::max(min, max);
    const long long clamped = std::clamp<long long>(progress, lo, hi);
    return static_cast<int>((clamped - min) * 100 / (static_cast<long long>(max) - min));
}

int ProgressGauge::fillWidth(int insideWidth, int percent) {
    if (insideWidth <= 0 || percent <= 0) return 0;
    return std::min(insideWidth,
                    static_cast<int>(static_cast<long long>(insideWidth) * percent / 100));
}

QString ProgressGauge::text() const { return QString::asprintf("%d%%", percentDone()); }

void ProgressGauge::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect all = rect();
    painter.fillRect(all, Qt::black);  // the frame
    const QRect inside = all.adjusted(1, 1, -1, -1);
    if (inside.isEmpty()) return;
    const int fill = fillWidth(inside.width(), percentDone());
    const QRect filled(inside.left(), inside.top(), fill, inside.height());
    const QRect empty(inside.left() + fill, inside.top(), inside.width() - fill, inside.height());
    painter.fillRect(empty, Qt::white);

    // The text twice: black where it lies over white, white over the fill.
    // Crisp two-colour text, as on the bar it imitates: no grey edges that
    // would belong to neither part.
    QFont textFont = font();
    textFont.setStyleStrategy(QFont::NoAntialias);
    painter.setFont(textFont);
    const QString label = text();
    painter.setClipRect(empty);
    painter.setPen(Qt::black);
    painter.drawText(inside, Qt::AlignCenter | Qt::TextSingleLine, label);
    if (fill > 0) {
        painter.setClipRect(filled);
        painter.setPen(Qt::white);
        painter.drawText(inside, Qt::AlignCenter | Qt::TextSingleLine, label);
    }
}

}  // namespace kestal
