#include "app/figures/TrendChart.h"

namespace kestal {

TrendChart::TrendChart(bool sharedX, QWidget* parent) : QCustomPlot(parent), sharedX_(sharedX) {
    plotLayout()->clear();
    setInteractions(QCP::iRangeDrag | QCP::iRangeZoom);
    setFocusPolicy(Qt::StrongFocus);
    // Points and bars need no smoothing, and drawing them plain keeps each
    // frame short.
    setNotAntialiasedElements(QCP::aeAll);
    setNoAntialiasingOnDrag(true);
    // Each plot has its own legend, when it needs one.
    setAutoAddPlottableToLegend(false);
}

QCPAxisRect* TrendChart::addPlot(const QString& yLabel) {
    auto* plot = new QCPAxisRect(this);
    plot->setRangeDrag(Qt::Horizontal);
    plot->setRangeZoom(Qt::Horizontal);
    plot->axis(QCPAxis::atLeft)->setLabel(yLabel);
    plot->setMarginGroup(
        QCP::msLeft | QCP::msRight,
        plots_.empty() ? new QCPMarginGroup(this) : plots_.front()->marginGroup(QCP::msLeft));
    plotLayout()->addElement(static_cast<int>(plots_.size()), 0, plot);
    connect(plot->axis(QCPAxis::atBottom), qOverload<const QCPRange&>(&QCPAxis::rangeChanged), this,
            [this, plot](const QCPRange& range) { setXRange(plot, range); });
    plots_.push_back(plot);
    homes_.emplace_back(0, 1);
    return plot;
}

void TrendChart::useTimeAxis() {
    for (QCPAxisRect* plot : plots_) {
        auto ticker = QSharedPointer<QCPAxisTickerDateTime>::create();
        ticker->setDateTimeFormat(QStringLiteral("yyyy-MM-dd\nhh:mm"));
        ticker->setDateTimeSpec(Qt::UTC);
        plot->axis(QCPAxis::atBottom)->setTicker(ticker);
        // With one time for all, only the lowest plot says which.
        if (sharedX_ && plot != plots_.back()) plot->axis(QCPAxis::atBottom)->setTickLabels(false);
    }
}

void TrendChart::setHomeRange(QCPAxisRect* plot, const QCPRange& range) {
    for (std::size_t p = 0; p < plots_.size(); ++p) {
        if (plots_[p] == plot) homes_[p] = range;
    }
}

void TrendChart::showHomeRange() {
    for (std::size_t p = 0; p < plots_.size(); ++p) setXRange(plots_[p], homes_[p]);
    replotWhenShown();
}

void TrendChart::replotWhenShown() {
    // The charts on the tabs not shown are drawn when their tab is chosen,
    // not all three at once when the window opens.
    if (isVisible()) {
        replot(rpQueuedReplot);
    } else {
        stale_ = true;
    }
}

void TrendChart::showEvent(QShowEvent* event) {
    QCustomPlot::showEvent(event);
    if (stale_) replot(rpQueuedReplot);
    stale_ = false;
}

void TrendChart::zoomBy(double factor) {
    for (QCPAxisRect* plot : plots_) {
        const QCPRange range = plot->axis(QCPAxis::atBottom)->range();
        const double half = range.size() * factor / 2;
        setXRange(plot, QCPRange(range.center() - half, range.center() + half));
        if (sharedX_) break;  // the others follow
    }
    replot(rpQueuedReplot);
}

void TrendChart::panBy(double fraction) {
    for (QCPAxisRect* plot : plots_) {
        const QCPRange range = plot->axis(QCPAxis::atBottom)->range();
        setXRange(plot, range + range.size() * fraction);
        if (sharedX_) break;
    }
    replot(rpQueuedReplot);
}

void TrendChart::setXRange(QCPAxisRect* plot, const QCPRange& range) {
    if (movingX_) return;
    movingX_ = true;
    for (QCPAxisRect* each : plots_) {
        if (each == plot || sharedX_) each->axis(QCPAxis::atBottom)->setRange(range);
    }
    movingX_ = false;
}

void TrendChart::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Plus:
        case Qt::Key_Equal:
            zoomBy(0.8);
            break;
        case Qt::Key_Minus:
            zoomBy(1.25);
            break;
        case Qt::Key_Left:
            panBy(-0.1);
            break;
        case Qt::Key_Right:
            panBy(0.1);
            break;
        case Qt::Key_Home:
            showHomeRange();
            break;
        default:
            QCustomPlot::keyPressEvent(event);
            return;
    }
    event->accept();
}

void fitYToValues(QCPAxis* axis, double largest) {
    axis->setRange(0, largest > 0 ? largest * 1.05 : 1);
}

}  // namespace kestal
