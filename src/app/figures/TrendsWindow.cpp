#include "app/figures/TrendsWindow.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <span>
#include <thread>

#include "app/figures/ChartPicture.h"
#include "app/look/WindowLook.h"
#include "commands/Messages.h"
#include "platform/Errors.h"
#include "platform/qt/Latin1.h"

namespace kestal {

namespace {

constexpr double kSecondsPerDay = 86400;
constexpr int kPointCell = 3;  // pixels: one point drawn per cell
// Below this many calls a second thread costs more than it saves.
constexpr std::size_t kPointsForTwoThreads = 65536;
constexpr int kHistogramBins = 50;

const QColor kColours[] = {QColor(31, 119, 180), QColor(255, 127, 14), QColor(44, 160, 44),
                           QColor(214, 39, 40)};

// The opacity of each shade, the densest first: points of a few calls show
// lighter, and a layer drawn over another lets it show through.
constexpr int kShadeAlpha[TrendsWindow::kShades] = {200, 160, 120, 85};

struct MeasureLook {
    CallMeasure measure;
    int plot;  // which of the stacked plots
    const char* name;
    int colour;
};
constexpr MeasureLook kMeasures[] = {
    {kDurationMeasure, 0, QT_TRANSLATE_NOOP("kestal::TrendsWindow", "Duration"), 0},
    {kLcpMeasure, 1, "LCP", 0},
    {kChapMeasure, 1, "CHAP", 1},
    {kIpcpMeasure, 1, "IPCP", 2},
    {kCcpMeasure, 1, "CCP", 3},
    {kReceivedPerSecond, 2, QT_TRANSLATE_NOOP("kestal::TrendsWindow", "Received"), 0},
    {kSentPerSecond, 2, QT_TRANSLATE_NOOP("kestal::TrendsWindow", "Sent"), 1},
    {kErrorsPerKiloFrame, 3, QT_TRANSLATE_NOOP("kestal::TrendsWindow", "Errors per 1000 frames"),
     3},
};

double largestOf(const std::vector<float>& values) {
    float largest = 0;
    for (const float value : values) largest = std::max(largest, std::isnan(value) ? 0 : value);
    return largest;
}

double largestOf(const std::vector<double>& values) {
    double largest = 0;
    for (const double value : values) largest = std::max(largest, std::isnan(value) ? 0 : value);
    return largest;
}

bool sameView(const ChartView& a, const ChartView& b) {
    return a.xFrom == b.xFrom && a.xTo == b.xTo && a.yFrom == b.yFrom && a.yTo == b.yTo &&
           a.width == b.width && a.height == b.height;
}

// A point is drawn as a copy of a small picture, many times faster than
// drawing a disc each time.
QPixmap pointPixmap(const QColor& colour) {
    QPixmap pixmap(4, 4);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawEllipse(QRectF(0, 0, 4, 4));
    return pixmap;
}

QCPGraph* pointGraph(QCPAxisRect* plot, const QColor& colour) {
    QCPGraph* graph =
        plot->parentPlot()->addGraph(plot->axis(QCPAxis::atBottom), plot->axis(QCPAxis::atLeft));
    graph->setLineStyle(QCPGraph::lsNone);
    graph->setScatterStyle(QCPScatterStyle(pointPixmap(colour)));
    graph->setPen(QPen(colour));
    return graph;
}

QCPLegend* legendIn(QCPAxisRect* plot) {
    auto* legend = new QCPLegend;
    plot->insetLayout()->addElement(legend, Qt::AlignTop | Qt::AlignRight);
    legend->setLayer(QStringLiteral("legend"));
    return legend;
}

QCPBars* bars(QCPAxisRect* plot, const QColor& colour, double width) {
    auto* bars = new QCPBars(plot->axis(QCPAxis::atBottom), plot->axis(QCPAxis::atLeft));
    bars->setWidth(width);
    bars->setPen(Qt::NoPen);
    bars->setBrush(colour);
    return bars;
}

QVector<double> binStarts(std::size_t bins, double width, double unit) {
    QVector<double> starts;
    for (std::size_t i = 0; i < bins; ++i) starts.append((i + 0.5) * width / unit);
    return starts;
}

}  // namespace

TrendsWindow::TrendsWindow(ShownCalls calls, Platform& platform, QWidget* parent)
    : QWidget(parent, Qt::Window), calls_(std::move(calls)), platform_(platform) {
    setObjectName(QStringLiteral("TrendsWindow"));
    setWindowTitle(tr("Trends - %1").arg(latin1(kProgramTitle)));
    setWindowIcon(programIcon());
    createCharts();

    pointLabel_ = new QLabel(this);
    pointLabel_->setObjectName(QStringLiteral("PointLabel"));
    wholeRangeButton_ = new QPushButton(tr("&Whole Range"), this);
    wholeRangeButton_->setObjectName(QStringLiteral("WholeRangeButton"));
    savePictureButton_ = new QPushButton(tr("Save &Picture As..."), this);
    savePictureButton_->setObjectName(QStringLiteral("SavePictureButton"));
    printButton_ = new QPushButton(tr("P&rint"), this);
    printButton_->setObjectName(QStringLiteral("PrintButton"));
    closeButton_ = new QPushButton(tr("Close"), this);
    closeButton_->setObjectName(QStringLiteral("CloseButton"));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(pointLabel_, 1);
    for (QPushButton* button : {wholeRangeButton_, savePictureButton_, printButton_, closeButton_})
        buttons->addWidget(button);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(chartTabs_, 1);
    layout->addLayout(buttons);
    resize(1000, 640);

    connect(wholeRangeButton_, &QPushButton::clicked, this, &TrendsWindow::showWholeRange);
    connect(savePictureButton_, &QPushButton::clicked, this, &TrendsWindow::savePicture);
    connect(printButton_, &QPushButton::clicked, this, &TrendsWindow::print);
    connect(closeButton_, &QPushButton::clicked, this, &QWidget::close);
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
    nameForScreenReaders();
    // The keys zoom and pan as soon as the window opens, and after a tab
    // is chosen with the mouse or its mnemonic.
    perCallChart_->setFocus();
    connect(chartTabs_, &QTabWidget::currentChanged, this, [this] {
        if (!chartTabs_->tabBar()->hasFocus()) currentChart()->setFocus();
    });
    onShownCallsChanged(calls_, this, [this] { refresh(); });
    refresh();
}

void TrendsWindow::nameForScreenReaders() {
    chartTabs_->setAccessibleName(tr("Charts"));
    perCallChart_->setAccessibleName(tr("Per call chart"));
    perCallChart_->setAccessibleDescription(
        tr("Duration, layer times, throughput and errors of each call by its start"));
    perDayChart_->setAccessibleName(tr("Per day chart"));
    perDayChart_->setAccessibleDescription(
        tr("Calls, hours online and median duration of each day"));
    histogramChart_->setAccessibleName(tr("Histograms"));
    histogramChart_->setAccessibleDescription(
        tr("How many calls had each duration and each layer time"));
    pointLabel_->setAccessibleName(tr("Calls charted"));
    wholeRangeButton_->setAccessibleName(tr("Whole Range"));
    savePictureButton_->setAccessibleName(tr("Save Picture As"));
    printButton_->setAccessibleName(tr("Print"));
    closeButton_->setAccessibleName(tr("Close"));
}

void TrendsWindow::createCharts() {
    chartTabs_ = new QTabWidget(this);
    chartTabs_->setObjectName(QStringLiteral("ChartTabs"));
    createPerCallChart();

    perDayChart_ = new TrendChart(true, chartTabs_);
    perDayChart_->setObjectName(QStringLiteral("PerDayChart"));
    for (const char* label :
         {QT_TR_NOOP("Calls"), QT_TR_NOOP("Online time (h)"), QT_TR_NOOP("Median duration (min)")})
        perDayChart_->addPlot(tr(label));
    perDayChart_->useTimeAxis();
    connect(perDayChart_, &QCustomPlot::afterLayout, this, &TrendsWindow::thinPerDayBars);
    perDayChart_->plots().back()->axis(QCPAxis::atBottom)->setLabel(tr("Day"));
    chartTabs_->addTab(perDayChart_, tr("Per &Day"));

    histogramChart_ = new TrendChart(false, chartTabs_);
    histogramChart_->setObjectName(QStringLiteral("HistogramChart"));
    histogramChart_->addPlot(tr("Calls"))->axis(QCPAxis::atBottom)->setLabel(tr("Duration (min)"));
    histogramChart_->addPlot(tr("Calls"))->axis(QCPAxis::atBottom)->setLabel(tr("Layer time (s)"));
    chartTabs_->addTab(histogramChart_, tr("&Histograms"));
}

void TrendsWindow::createPerCallChart() {
    perCallChart_ = new TrendChart(true, chartTabs_);
    perCallChart_->setObjectName(QStringLiteral("PerCallChart"));
    for (const char* label :
         {QT_TR_NOOP("Duration (s)"), QT_TR_NOOP("Layer time (s)"),
          QT_TR_NOOP("Throughput (bytes/s)"), QT_TR_NOOP("Errors per 1000 frames")})
        perCallChart_->addPlot(tr(label));
    perCallChart_->useTimeAxis();
    perCallChart_->plots().back()->axis(QCPAxis::atBottom)->setLabel(tr("Start of the call"));
    std::vector<QCPLegend*> legends(perCallChart_->plots().size(), nullptr);
    for (const MeasureLook& look : kMeasures) {
        perCall_.emplace_back();
        perCall_.back().measure = look.measure;
    }
    // Made densest shade first, so that the scarcer shades are drawn over
    // it; shadePerCallPoints orders them again for the view.
    for (int shade = 0; shade < kShades; ++shade) {
        for (std::size_t m = 0; m < perCall_.size(); ++m) {
            const MeasureLook& look = kMeasures[m];
            QCPAxisRect* plot = perCallChart_->plots()[static_cast<std::size_t>(look.plot)];
            QColor colour = kColours[look.colour];
            colour.setAlpha(kShadeAlpha[shade]);
            QCPGraph* graph = pointGraph(plot, colour);
            graph->setName(tr(look.name));
            perCall_[m].shades[static_cast<std::size_t>(shade)] = graph;
            if (shade == 0 && (look.plot == 1 || look.plot == 2)) {
                QCPLegend*& legend = legends[static_cast<std::size_t>(look.plot)];
                if (!legend) legend = legendIn(plot);
                graph->addToLegend(legend);
            }
        }
    }
    connect(perCallChart_, &TrendChart::xRangeChanged, this, &TrendsWindow::fitPerCallValues);
    // Thinned again whenever a zoom, a pan or a new size changes the view,
    // just before the chart is drawn.
    connect(perCallChart_, &QCustomPlot::afterLayout, this, &TrendsWindow::thinPerCallPoints);
    connect(perCallChart_, &QCustomPlot::plottableClick, this,
            [this](QCPAbstractPlottable* graph, int index, QMouseEvent*) {
                selectDrawnCall(graph, index);
            });
    chartTabs_->addTab(perCallChart_, tr("Per &Call"));
}

void TrendsWindow::refresh() {
    runCommand(platform_, [this] {
        trends_ = callTrends(*calls_.table, calls_.rows());
        fillPerCallChart();
        fillPerDayChart();
        fillHistograms();
        pointLabel_->setText(tr("%1 calls with a date").arg(trends_.times.size()));
    });
}

void TrendsWindow::fillPerCallChart() {
    const double first = trends_.times.empty() ? 0 : trends_.times.front();
    const double last = trends_.times.empty() ? kSecondsPerDay : trends_.times.back();
    // A little room either side, so the first and last calls show.
    const double margin = std::max((last - first) * 0.01, 60.0);
    for (PerCallGraph& each : perCall_) each.view = ChartView{0, 0, 0, 0, 0, 0};  // thin again
    fittedTo_ = QCPRange(0, 0);                                                   // fit again
    perCallChart_->showXLabels(!trends_.times.empty());
    for (QCPAxisRect* plot : perCallChart_->plots())
        perCallChart_->setHomeRange(plot, QCPRange(first - margin, last + margin));
    perCallChart_->showHomeRange();
}

void TrendsWindow::fitPerCallValues() {
    const QCPRange shown = perCallChart_->plots().front()->axis(QCPAxis::atBottom)->range();
    if (shown == fittedTo_) return;
    fittedTo_ = shown;
    const auto& plots = perCallChart_->plots();
    std::vector<ValueSpan> spans(plots.size());
    for (const PerCallGraph& each : perCall_) {
        spans[static_cast<std::size_t>(kMeasures[each.measure].plot)].add(
            valueSpan(trends_.times, trends_.values[each.measure], shown.lower, shown.upper));
    }
    for (std::size_t p = 0; p < plots.size(); ++p)
        fitYToSpan(plots[p]->axis(QCPAxis::atLeft), spans[p].lowest, spans[p].highest,
                   spans[p].empty);
}

void TrendsWindow::thinPerCallPoints() {
    std::vector<PerCallGraph*> changed;
    for (PerCallGraph& each : perCall_) {
        const QCPAxis* x = each.shades[0]->keyAxis();
        const QCPAxis* y = each.shades[0]->valueAxis();
        const QRect area = x->axisRect()->rect();
        const ChartView view{x->range().lower, x->range().upper, y->range().lower,
                             y->range().upper, area.width(),     area.height()};
        if (sameView(view, each.view)) continue;
        each.view = view;
        changed.push_back(&each);
    }
    // Each graph's points are picked apart from the others': half of them
    // by a second thread.
    const auto pick = [this](std::span<PerCallGraph* const> graphs) {
        for (PerCallGraph* each : graphs)
            each->picked = pointsToDraw(trends_.times, trends_.values[each->measure], each->view,
                                        kPointCell, &each->counts);
    };
    const std::span<PerCallGraph* const> all(changed);
    const std::size_t half = changed.size() / 2;
    if (trends_.times.size() >= kPointsForTwoThreads && half > 0) {
        const std::jthread second([&] { pick(all.subspan(half)); });
        pick(all.first(half));
    } else {
        pick(all);
    }
    shadePerCallPoints(changed);
}

void TrendsWindow::shadePerCallPoints(const std::vector<PerCallGraph*>& changed) {
    for (PerCallGraph* each : changed) {
        const std::uint32_t densest =
            each->counts.empty() ? 1 : *std::max_element(each->counts.begin(), each->counts.end());
        for (auto& drawn : each->drawn) drawn.clear();
        for (std::size_t k = 0; k < each->picked.size(); ++k) {
            each->drawn[static_cast<std::size_t>(densityShade(each->counts[k], densest, kShades))]
                .push_back(each->picked[k]);
        }
        const std::vector<float>& values = trends_.values[each->measure];
        for (std::size_t shade = 0; shade < each->shades.size(); ++shade) {
            QVector<QCPGraphData> points;
            points.reserve(static_cast<qsizetype>(each->drawn[shade].size()));
            for (const std::size_t i : each->drawn[shade])
                points.append({trends_.times[i], values[i]});
            // The drawn points come out ordered by time already.
            each->shades[shade]->data()->set(points, true);
        }
    }
    if (changed.empty()) return;
    // Shade by shade, the measures with the fewest points in view are drawn
    // last, so that a sparse layer is never buried under a dense one.
    std::vector<const PerCallGraph*> order;
    for (const PerCallGraph& each : perCall_) order.push_back(&each);
    std::stable_sort(order.begin(), order.end(), [](const PerCallGraph* a, const PerCallGraph* b) {
        return a->picked.size() > b->picked.size();
    });
    for (std::size_t shade = 0; shade < static_cast<std::size_t>(kShades); ++shade) {
        for (const PerCallGraph* each : order)
            each->shades[shade]->setLayer(each->shades[shade]->layer());  // to the top
    }
}

void TrendsWindow::thinPerDayBars() {
    // QCustomPlot draws each new chart once, shown or not: a chart on a
    // hidden tab gets its data when its tab is chosen.
    if (!perDayChart_->isVisible()) return;
    if (medianLine_ && medianLine_->dataCount() == 0) {
        medianLine_->setData(
            QVector<double>(trends_.days.begin(), trends_.days.end()),
            QVector<double>(trends_.dayMedianMinutes.begin(), trends_.dayMedianMinutes.end()),
            true);
    }
    for (PerDayBars& each : perDay_) {
        const QCPAxis* x = each.bars->keyAxis();
        const ChartView view{x->range().lower, x->range().upper, 0, 1, x->axisRect()->width(), 1};
        if (sameView(view, each.view)) continue;
        each.view = view;
        QVector<QCPBarsData> bars;
        for (const std::size_t i : barsToDraw(trends_.days, *each.values, view))
            bars.append({trends_.days[i], (*each.values)[i]});
        each.bars->data()->set(bars, true);
    }
}

bool TrendsWindow::selectDrawnCall(QCPAbstractPlottable* graph, int index) {
    for (const PerCallGraph& each : perCall_) {
        for (std::size_t shade = 0; shade < each.shades.size(); ++shade) {
            if (each.shades[shade] != graph) continue;
            const std::vector<std::size_t>& drawn = each.drawn[shade];
            if (index < 0 || static_cast<std::size_t>(index) >= drawn.size()) return false;
            const int row = trends_.rows[drawn[static_cast<std::size_t>(index)]];
            calls_.select(row);
            const std::string_view start = calls_.table->cell(Column::StartTime, row);
            pointLabel_->setText(
                tr("Call of %1 selected in the grid")
                    .arg(QString::fromLatin1(start.data(), static_cast<qsizetype>(start.size()))));
            return true;
        }
    }
    return false;
}

QCPGraph* TrendsWindow::perCallGraph(CallMeasure measure, int shade) const {
    for (const PerCallGraph& each : perCall_) {
        if (each.measure == measure) return each.shades.at(static_cast<std::size_t>(shade));
    }
    return nullptr;
}

void TrendsWindow::fillPerDayChart() {
    perDayChart_->clearPlottables();
    const auto& plots = perDayChart_->plots();
    const std::vector<double>* series[] = {&trends_.dayCalls, &trends_.dayOnlineHours,
                                           &trends_.dayMedianMinutes};
    perDay_.clear();
    for (std::size_t p = 0; p < plots.size(); ++p) {
        if (p < 2) {
            // Filled for the view just before each drawing (thinPerDayBars).
            perDay_.push_back({bars(plots[p], kColours[p], kSecondsPerDay * 0.8), series[p]});
        } else {
            medianLine_ = pointGraph(plots[p], kColours[p]);
            medianLine_->setLineStyle(QCPGraph::lsLine);
        }
        fitYToValues(plots[p]->axis(QCPAxis::atLeft), largestOf(*series[p]));
    }
    const double first = trends_.days.empty() ? 0 : trends_.days.front();
    const double last = trends_.days.empty() ? 0 : trends_.days.back();
    perDayChart_->showXLabels(!trends_.days.empty());
    for (QCPAxisRect* plot : plots)
        perDayChart_->setHomeRange(plot, QCPRange(first - kSecondsPerDay, last + kSecondsPerDay));
    perDayChart_->showHomeRange();
}

void TrendsWindow::fillHistograms() {
    histogramChart_->clearPlottables();
    const auto& plots = histogramChart_->plots();

    const Histogram durations =
        histogram(trends_.values[kDurationMeasure], kHistogramBins, resolutionOf(kDurationMeasure));
    const double minute = 60;
    bars(plots[0], kColours[0], durations.binWidth / minute * 0.9)
        ->setData(binStarts(durations.counts.size(), durations.binWidth, minute),
                  QVector<double>(durations.counts.begin(), durations.counts.end()), true);
    fitYToValues(plots[0]->axis(QCPAxis::atLeft), largestOf(durations.counts));
    histogramChart_->setHomeRange(
        plots[0],
        QCPRange(0, std::max<double>(1, durations.counts.size()) * durations.binWidth / minute));

    double largestLayer = 0;
    for (int l = 0; l < 4; ++l)
        largestLayer = std::max(largestLayer, largestOf(trends_.values[kLcpMeasure + l]));
    const double width = niceBinWidth(largestLayer, kHistogramBins, resolutionOf(kLcpMeasure));
    QCPLegend* legend = plots[1]->insetLayout()->elementCount() > 0
                            ? qobject_cast<QCPLegend*>(plots[1]->insetLayout()->elementAt(0))
                            : legendIn(plots[1]);
    double largestCount = 0;
    std::size_t widest = 1;
    for (int l = 0; l < 4; ++l) {
        const Histogram layer =
            histogram(trends_.values[kLcpMeasure + l], width, resolutionOf(kLcpMeasure));
        QCPGraph* graph = histogramChart_->addGraph(plots[1]->axis(QCPAxis::atBottom),
                                                    plots[1]->axis(QCPAxis::atLeft));
        graph->setName(tr(kMeasures[1 + l].name));
        graph->setPen(QPen(kColours[l], 2));
        graph->setLineStyle(QCPGraph::lsStepLeft);
        QVector<double> starts, counts;
        for (std::size_t i = 0; i <= layer.counts.size(); ++i) {
            starts.append(i * width);
            counts.append(i < layer.counts.size() ? layer.counts[i] : 0);
        }
        graph->setData(starts, counts, true);
        if (legend) graph->addToLegend(legend);
        largestCount = std::max(largestCount, largestOf(layer.counts));
        widest = std::max(widest, layer.counts.size());
    }
    fitYToValues(plots[1]->axis(QCPAxis::atLeft), largestCount);
    histogramChart_->setHomeRange(plots[1], QCPRange(0, widest * width));
    histogramChart_->showHomeRange();
}

TrendChart* TrendsWindow::currentChart() const {
    return static_cast<TrendChart*>(chartTabs_->currentWidget());
}

void TrendsWindow::showWholeRange() { currentChart()->showHomeRange(); }

void TrendsWindow::savePicture() {
    runCommand(platform_, [this] {
        // Laid out and its points and bars picked, whether drawn yet or not.
        currentChart()->replot();
        saveChartPicture(*currentChart(), platform_, pictureDialog_);
    });
}

void TrendsWindow::print() {
    runCommand(platform_, [this] {
        currentChart()->replot();
        printChartOnDefaultPrinter(*currentChart());
    });
}

}  // namespace kestal
