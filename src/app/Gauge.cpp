#include "app/Gauge.h"

#include <QPainter>
#include <algorithm>

namespace kestal {

TGauge::TGauge(QWidget* parent) : QWidget(parent) { setAttribute(Qt::WA_OpaquePaintEvent); }

void TGauge::setMinValue(int value) {
    min_ = value;
    update();
}

void TGauge::setMaxValue(int value) {
    max_ = value;
    update();
}

void TGauge::setProgress(int value) {
    if (value == progress_) return;
    progress_ = value;
    update();
}

int TGauge::percentDone(int min, int max, int progress) {
    if (max == min) return 0;
    const long long lo = std::min(min, max);
    const long long hi = std::max(min, max);
    const long long clamped = std::clamp<long long>(progress, lo, hi);
    return static_cast<int>((clamped - min) * 100 / (static_cast<long long>(max) - min));
}

int TGauge::fillWidth(int insideWidth, int percent) {
    if (insideWidth <= 0 || percent <= 0) return 0;
    return std::min(insideWidth,
                    static_cast<int>(static_cast<long long>(insideWidth) * percent / 100));
}

QString TGauge::text() const { return QString::asprintf("%d%%", percentDone()); }

void TGauge::paintEvent(QPaintEvent*) {
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
