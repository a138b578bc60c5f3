#include "app/figures/PppdTrendsWindow.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "app/figures/ChartPicture.h"
#include "app/figures/PppdCharts.h"
#include "app/look/WindowLook.h"
#include "commands/Messages.h"
#include "platform/Errors.h"
#include "platform/qt/Latin1.h"
#include "pppd/PppdColumns.h"

namespace kestal {

namespace {

constexpr int kPointCell = 3;  // pixels: one point drawn per cell
constexpr double kSecondsPerHour = 3600;

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

bool sameView(const ChartView& a, const ChartView& b) {
    return a.xFrom == b.xFrom && a.xTo == b.xTo && a.yFrom == b.yFrom && a.yTo == b.yTo &&
           a.width == b.width && a.height == b.height;
}

int rowOfDay(const std::vector<int>& firstRows, int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= firstRows.size()) return -1;
    return firstRows[static_cast<std::size_t>(index)];
}

}  // namespace

PppdTrendsWindow::PppdTrendsWindow(ShownCalls calls, Platform& platform, QWidget* parent)
    : QWidget(parent, Qt::Window), calls_(std::move(calls)), platform_(platform) {
    setObjectName(QStringLiteral("PppdTrendsWindow"));
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

    connect(wholeRangeButton_, &QPushButton::clicked, this, &PppdTrendsWindow::showWholeRange);
    connect(savePictureButton_, &QPushButton::clicked, this, &PppdTrendsWindow::savePicture);
    connect(printButton_, &QPushButton::clicked, this, &PppdTrendsWindow::print);
    connect(closeButton_, &QPushButton::clicked, this, &QWidget::close);
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
    nameForScreenReaders();
    perDayChart_->setFocus();
    connect(chartTabs_, &QTabWidget::currentChanged, this, [this] {
        if (!chartTabs_->tabBar()->hasFocus()) currentChart()->setFocus();
    });
    onShownCallsChanged(calls_, this, [this] { refresh(); });
    refresh();
}

void PppdTrendsWindow::nameForScreenReaders() {
    chartTabs_->setAccessibleName(tr("Charts"));
    perDayChart_->setAccessibleName(tr("Per day chart"));
    perDayChart_->setAccessibleDescription(
        tr("Hours online, drops and failed attempts of each day"));
    perSessionChart_->setAccessibleName(tr("Per session chart"));
    perSessionChart_->setAccessibleDescription(tr("The duration of each session by its start"));
    histogramChart_->setAccessibleName(tr("Histogram"));
    histogramChart_->setAccessibleDescription(tr("How many sessions lasted how long"));
    dropMapChart_->setAccessibleName(tr("Drops by hour"));
    dropMapChart_->setAccessibleDescription(
        tr("How many drops fell on each weekday and hour of the day"));
    pointLabel_->setAccessibleName(tr("Sessions charted"));
    wholeRangeButton_->setAccessibleName(tr("Whole Range"));
    savePictureButton_->setAccessibleName(tr("Save Picture As"));
    printButton_->setAccessibleName(tr("Print"));
    closeButton_->setAccessibleName(tr("Close"));
}

void PppdTrendsWindow::createCharts() {
    chartTabs_ = new QTabWidget(this);
    chartTabs_->setObjectName(QStringLiteral("ChartTabs"));
    perDayChart_ = makePppdPerDayChart(chartTabs_);
    // Thinned whenever the view changes, just before the chart is drawn.
    connect(perDayChart_, &QCustomPlot::afterLayout, this, [this] { dayBars_.thin(); });
    chartTabs_->addTab(perDayChart_, tr("Per &Day"));

    perSessionChart_ = makePppdPerSessionChart(chartTabs_);
    QCPAxisRect* plot = perSessionChart_->plots().front();
    sessionPoints_ =
        perSessionChart_->addGraph(plot->axis(QCPAxis::atBottom), plot->axis(QCPAxis::atLeft));
    sessionPoints_->setLineStyle(QCPGraph::lsNone);
    const QColor colour(31, 119, 180, 200);
    sessionPoints_->setScatterStyle(QCPScatterStyle(pointPixmap(colour)));
    sessionPoints_->setPen(QPen(colour));
    connect(perSessionChart_, &TrendChart::xRangeChanged, this,
            &PppdTrendsWindow::fitSessionValues);
    // Thinned whenever a zoom, a pan or a new size changes the view, just
    // before the chart is drawn.
    connect(perSessionChart_, &QCustomPlot::afterLayout, this,
            &PppdTrendsWindow::thinSessionPoints);
    chartTabs_->addTab(perSessionChart_, tr("Per &Session"));

    histogramChart_ = makePppdHistogramChart(chartTabs_);
    chartTabs_->addTab(histogramChart_, tr("&Histogram"));
    dropMapChart_ = makePppdDropMapChart(chartTabs_);
    chartTabs_->addTab(dropMapChart_, tr("Drops by &Hour"));

    // A click on the map's cell (not a drag, which zooms): the map is one
    // plottable, and its cell is found by the place of the click.
    connect(dropMapChart_, &QCustomPlot::mousePress, this,
            [this](QMouseEvent* event) { mapPressedAt_ = event->position(); });
    connect(dropMapChart_, &QCustomPlot::mouseRelease, this, [this](QMouseEvent* event) {
        if ((event->position() - mapPressedAt_).manhattanLength() <= 3)
            selectRowAt(dropMap_, 0, event->position());
    });
    for (TrendChart* chart : {perDayChart_, perSessionChart_}) {
        connect(chart, &QCustomPlot::plottableClick, this,
                [this](QCPAbstractPlottable* plottable, int index, QMouseEvent* event) {
                    selectRowAt(plottable, index, event->position());
                });
    }
}

void PppdTrendsWindow::refresh() {
    runCommand(platform_, [this] {
        const std::vector<int> rows = calls_.pppdRows ? calls_.pppdRows() : std::vector<int>();
        // A session still up ends at the log's last dated line, as in the
        // statistics and the outages.
        std::optional<std::int64_t> logEnd;
        if (const LogSpan span = calls_.span ? calls_.span() : LogSpan{}; span.last)
            logEnd = span.last->clock;
        trends_ = pppdTrends(*calls_.table, rows, logEnd);
        hours_.clear();
        for (const float seconds : trends_.durations)
            hours_.push_back(static_cast<float>(seconds / kSecondsPerHour));
        dayBars_ = fillPppdPerDayChart(*perDayChart_, trends_);
        fillPppdHistogramChart(*histogramChart_, trends_);
        dropMap_ = fillPppdDropMapChart(*dropMapChart_, trends_);

        const double first = trends_.times.empty() ? 0 : trends_.times.front();
        const double last = trends_.times.empty() ? 86400 : trends_.times.back();
        const double margin = std::max((last - first) * 0.01, 60.0);
        sessionView_ = ChartView{0, 0, 0, 0, 0, 0};  // thin again
        fittedTo_ = QCPRange(0, 0);                  // fit again
        perSessionChart_->showXLabels(!trends_.times.empty());
        perSessionChart_->setHomeRange(perSessionChart_->plots().front(),
                                       QCPRange(first - margin, last + margin));
        perSessionChart_->showHomeRange();
        pointLabel_->setText(tr("%1 sessions with a date, %2 drops, %3 failed attempts")
                                 .arg(trends_.times.size())
                                 .arg(trends_.drops)
                                 .arg(trends_.failedAttempts));
    });
}

void PppdTrendsWindow::fitSessionValues() {
    const QCPRange shown = perSessionChart_->plots().front()->axis(QCPAxis::atBottom)->range();
    if (shown == fittedTo_) return;
    fittedTo_ = shown;
    const ValueSpan span = valueSpan(trends_.times, hours_, shown.lower, shown.upper);
    fitYToSpan(perSessionChart_->plots().front()->axis(QCPAxis::atLeft), span.lowest, span.highest,
               span.empty);
}

void PppdTrendsWindow::thinSessionPoints() {
    const QCPAxis* x = sessionPoints_->keyAxis();
    const QCPAxis* y = sessionPoints_->valueAxis();
    const QRect area = x->axisRect()->rect();
    const ChartView view{x->range().lower, x->range().upper, y->range().lower,
                         y->range().upper, area.width(),     area.height()};
    if (sameView(view, sessionView_)) return;
    sessionView_ = view;
    drawnSessions_ = pointsToDraw(trends_.times, hours_, view, kPointCell);
    QVector<QCPGraphData> points;
    points.reserve(static_cast<qsizetype>(drawnSessions_.size()));
    for (const std::size_t i : drawnSessions_) points.append({trends_.times[i], hours_[i]});
    sessionPoints_->data()->set(points, true);
}

int PppdTrendsWindow::rowAt(QCPAbstractPlottable* plottable, int index,
                            const QPointF& pixel) const {
    if (plottable == sessionPoints_) {
        if (index < 0 || static_cast<std::size_t>(index) >= drawnSessions_.size()) return -1;
        return trends_.rows[drawnSessions_[static_cast<std::size_t>(index)]];
    }
    if (dayBars_.size() == 3) {
        const int day = dayBars_.dayOf(plottable, index);
        if (plottable == dayBars_.bars(0)) return rowOfDay(trends_.dayFirstSession, day);
        if (plottable == dayBars_.bars(1)) return rowOfDay(trends_.dayFirstDrop, day);
        if (plottable == dayBars_.bars(2)) return rowOfDay(trends_.dayFirstFailedAttempt, day);
    }
    int weekday = 0, hour = 0;
    if (plottable == dropMap_ && dropMapCellAt(*dropMap_, pixel, weekday, hour))
        return trends_
            .firstDropByHour[static_cast<std::size_t>(weekday)][static_cast<std::size_t>(hour)];
    return -1;
}

bool PppdTrendsWindow::selectRowAt(QCPAbstractPlottable* plottable, int index,
                                   const QPointF& pixel) {
    const int row = rowAt(plottable, index, pixel);
    if (row < 0) return false;
    calls_.select(row);
    const std::string_view start = calls_.table->cell(PppdColumn::StartTime, row);
    const bool session = calls_.table->marks(row) & kSessionMark;
    pointLabel_->setText(
        (session ? tr("Session of %1 selected in the grid")
                 : tr("Failed attempt of %1 selected in the grid"))
            .arg(QString::fromLatin1(start.data(), static_cast<qsizetype>(start.size()))));
    return true;
}

TrendChart* PppdTrendsWindow::currentChart() const {
    return static_cast<TrendChart*>(chartTabs_->currentWidget());
}

void PppdTrendsWindow::showWholeRange() { currentChart()->showHomeRange(); }

void PppdTrendsWindow::savePicture() {
    runCommand(platform_, [this] {
        currentChart()->replot();
        saveChartPicture(*currentChart(), platform_, pictureDialog_);
    });
}

void PppdTrendsWindow::print() {
    runCommand(platform_, [this] {
        currentChart()->replot();
        printChartOnDefaultPrinter(*currentChart());
    });
}

}  // namespace kestal
