#include "app/figures/TrendChart.h"

#include <algorithm>

namespace kestal {

namespace {

// Below this many pixels wide a dragged rectangle is taken for a slip of
// the hand, not a zoom.
constexpr int kSmallestZoomRectangle = 4;

// A plot's title: its left and right margins are the plot's, taken from the
// plots' margin group; of its own it asks for none (else the group would
// keep the widest margin it ever had).
class PlotTitle : public QCPTextElement {
public:
    PlotTitle(QCustomPlot* chart, const QString& text) : QCPTextElement(chart, text) {
        setTextFlags(Qt::AlignLeft | Qt::AlignVCenter);
        setMargins(QMargins(0, 4, 0, 0));
        setAutoMargins(QCP::msLeft | QCP::msRight);
    }

protected:
    int calculateAutoMargin(QCP::MarginSide) override { return 0; }
};

}  // namespace

TrendChart::TrendChart(bool sharedX, QWidget* parent) : QCustomPlot(parent), sharedX_(sharedX) {
    plotLayout()->clear();
    // The rows of titles take no more height than their text.
    plotLayout()->setRowSpacing(0);
    setInteractions(QCP::iRangeDrag | QCP::iRangeZoom);
    setSelectionRectMode(QCP::srmZoom);
    setFocusPolicy(Qt::StrongFocus);
    // Points and bars need no smoothing, and drawing them plain keeps each
    // frame short.
    setNotAntialiasedElements(QCP::aeAll);
    setNoAntialiasingOnDrag(true);
    // Each plot has its own legend, when it needs one.
    setAutoAddPlottableToLegend(false);
}

QCPAxisRect* TrendChart::addPlot(const QString& title) {
    auto* plot = new QCPAxisRect(this);
    plot->setRangeDrag(Qt::Horizontal);
    plot->setRangeZoom(Qt::Horizontal);
    plot->setRangeZoomFactor(kZoomStep, 1);
    QCPMarginGroup* margins =
        plots_.empty() ? new QCPMarginGroup(this) : plots_.front()->marginGroup(QCP::msLeft);
    plot->setMarginGroup(QCP::msLeft | QCP::msRight, margins);

    // Begins where the plot's frame begins, right of the value axis.
    auto* text = new PlotTitle(this, title);
    text->setMarginGroup(QCP::msLeft | QCP::msRight, margins);
    const int row = static_cast<int>(plots_.size()) * 2;
    plotLayout()->addElement(row, 0, text);
    plotLayout()->addElement(row + 1, 0, plot);
    plotLayout()->setRowStretchFactor(row, 0.001);

    connect(plot->axis(QCPAxis::atBottom), qOverload<const QCPRange&>(&QCPAxis::rangeChanged), this,
            [this, plot](const QCPRange& range) { setXRange(plot, range); });
    plots_.push_back(plot);
    titles_.push_back(text);
    homes_.emplace_back(0, 1);
    return plot;
}

void TrendChart::useTimeAxis() {
    for (QCPAxisRect* plot : plots_) {
        auto ticker = QSharedPointer<QCPAxisTickerDateTime>::create();
        ticker->setDateTimeFormat(QStringLiteral("yyyy-MM-dd\nhh:mm"));
        ticker->setDateTimeSpec(Qt::UTC);
        plot->axis(QCPAxis::atBottom)->setTicker(ticker);
    }
    showXLabels(xLabels_);
}

void TrendChart::showXLabels(bool shown) {
    xLabels_ = shown;
    for (QCPAxisRect* plot : plots_) {
        QCPAxis* x = plot->axis(QCPAxis::atBottom);
        x->setTicks(shown);
        // With one time for all, only the lowest plot says which.
        x->setTickLabels(shown && (!sharedX_ || plot == plots_.back()));
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
    emit xRangeChanged(plot);
}

void TrendChart::mousePressEvent(QMouseEvent* event) {
    // A plain drag draws the rectangle to zoom to; with Ctrl it pans.
    const QCP::SelectionRectMode mode =
        event->modifiers() & Qt::ControlModifier ? QCP::srmNone : QCP::srmZoom;
    if (selectionRectMode() != mode) setSelectionRectMode(mode);
    QCustomPlot::mousePressEvent(event);
    if (mode == QCP::srmZoom) {
        // While a rectangle may be drawn QCustomPlot notes no point under
        // the press: noted here, a click on a point still tells which.
        QList<QVariant> details;
        const QList<QCPLayerable*> under = layerableListAt(event->pos(), false, &details);
        if (!under.isEmpty()) {
            mMouseSignalLayerable = under.first();
            mMouseSignalLayerableDetails = details.first();
        }
    }
}

void TrendChart::processRectZoom(QRect rect, QMouseEvent* event) {
    Q_UNUSED(event);
    QCPAxisRect* plot = axisRectAt(rect.topLeft());
    if (plot && std::find(plots_.begin(), plots_.end(), plot) != plots_.end() &&
        rect.normalized().width() >= kSmallestZoomRectangle) {
        const QCPAxis* x = plot->axis(QCPAxis::atBottom);
        setXRange(plot, QCPRange(x->pixelToCoord(rect.left()), x->pixelToCoord(rect.right())));
    }
    replot(rpQueuedReplot);  // the rectangle goes
}

void TrendChart::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Plus:
        case Qt::Key_Equal:
            zoomBy(kZoomStep);
            break;
        case Qt::Key_Minus:
            zoomBy(1 / kZoomStep);
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

void fitYToSpan(QCPAxis* axis, double lowest, double highest, bool empty) {
    if (empty) {
        axis->setRange(0, 1);
        return;
    }
    // A single value (or many alike) stands in the middle.
    const double room =
        highest > lowest ? (highest - lowest) * 0.05 : std::max(std::abs(highest) * 0.05, 0.5);
    const double from = lowest - room;
    axis->setRange(lowest >= 0 ? std::max(from, 0.0) : from, highest + room);
}

}  // namespace kestal
