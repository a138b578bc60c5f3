// Compares the two charting libraries of Debian 12 on the per-call series of
// a log: Qt Charts 6 and QCustomPlot (built for Qt 6). Offscreen:
//
//   chart_compare LOG charts|qcustomplot [line|points]
//
// Prints, for one library in one process (so the memory figures don't mix):
// the first draw of a 1200 x 700 chart of every call's duration (series
// built, widget shown and painted), the longest and median frame over 20
// zoom steps and 20 pan steps (axis ranges set, widget painted again), and
// the resident memory that the chart added.
#include <QApplication>
#include <QPixmap>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "calls/CallScan.h"
#include "calls/CallValues.h"
#include "lines/LogLines.h"

#ifdef KESTAL_HAVE_QTCHARTS
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QLineSeries>
#include <QtCharts/QScatterSeries>
#include <QtCharts/QValueAxis>
#endif
#ifdef KESTAL_HAVE_QCUSTOMPLOT
#include <qcustomplot.h>
#endif

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

long residentKiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
    return 0;
}

struct Series {
    std::vector<double> days;       // x: days since 1970
    std::vector<double> durations;  // y: seconds
};

Series loadSeries(const char* path) {
    kestal::LogLines lines;
    kestal::readLogFile(path, lines);
    kestal::CallTable table{kestal::kDialUpColumns};
    kestal::scanCalls(lines, table, kestal::RegionalSettings{}, nullptr);
    Series series;
    for (int row = 0; row < table.callCount(); ++row) {
        const kestal::CallValues call = kestal::callValuesOf(table, row);
        if (!call.startTime() || call.duration == kestal::CallValues::kNone) continue;
        series.days.push_back(static_cast<double>(*call.startTime()) / 86400.0);
        series.durations.push_back(call.duration);
    }
    return series;
}

// The library under test: shows the series, then moves its x range.
class Chart {
public:
    virtual ~Chart() = default;
    virtual QWidget* widget() = 0;
    virtual void setXRange(double from, double to) = 0;
    // Paints the widget once, synchronously.
    void paint() { widget()->grab(); }
};

#ifdef KESTAL_HAVE_QTCHARTS
class QtChartsChart : public Chart {
public:
    QtChartsChart(const Series& data, bool points) {
        QXYSeries* series = points ? static_cast<QXYSeries*>(new QScatterSeries)
                                   : static_cast<QXYSeries*>(new QLineSeries);
        if (points) static_cast<QScatterSeries*>(series)->setMarkerSize(3);
        QList<QPointF> list;
        list.reserve(static_cast<qsizetype>(data.days.size()));
        for (std::size_t i = 0; i < data.days.size(); ++i)
            list.append(QPointF(data.days[i], data.durations[i]));
        series->replace(list);
        auto* chart = new QChart;
        chart->addSeries(series);
        x_ = new QValueAxis;
        auto* y = new QValueAxis;
        chart->addAxis(x_, Qt::AlignBottom);
        chart->addAxis(y, Qt::AlignLeft);
        series->attachAxis(x_);
        series->attachAxis(y);
        x_->setRange(data.days.front(), data.days.back());
        y->setRange(0, *std::max_element(data.durations.begin(), data.durations.end()));
        view_.setChart(chart);
        view_.resize(1200, 700);
        view_.show();
    }
    QWidget* widget() override { return &view_; }
    void setXRange(double from, double to) override { x_->setRange(from, to); }

private:
    QChartView view_;
    QValueAxis* x_ = nullptr;
};
#endif

#ifdef KESTAL_HAVE_QCUSTOMPLOT
class QCustomPlotChart : public Chart {
public:
    QCustomPlotChart(const Series& data, bool points) {
        QCPGraph* graph = plot_.addGraph();
        graph->setData(QVector<double>(data.days.begin(), data.days.end()),
                       QVector<double>(data.durations.begin(), data.durations.end()), true);
        if (points) {
            graph->setLineStyle(QCPGraph::lsNone);
            graph->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssDisc, 3));
        }
        plot_.xAxis->setRange(data.days.front(), data.days.back());
        plot_.yAxis->setRange(0, *std::max_element(data.durations.begin(), data.durations.end()));
        plot_.resize(1200, 700);
        plot_.show();
        plot_.replot();
    }
    QWidget* widget() override { return &plot_; }
    void setXRange(double from, double to) override {
        plot_.xAxis->setRange(from, to);
        plot_.replot();
    }

private:
    QCustomPlot plot_;
};
#endif

std::unique_ptr<Chart> makeChart(const std::string& library, const Series& data, bool points) {
#ifdef KESTAL_HAVE_QTCHARTS
    if (library == "charts") return std::make_unique<QtChartsChart>(data, points);
#endif
#ifdef KESTAL_HAVE_QCUSTOMPLOT
    if (library == "qcustomplot") return std::make_unique<QCustomPlotChart>(data, points);
#endif
    return nullptr;
}

void printFrames(const char* what, std::vector<double> frames) {
    std::sort(frames.begin(), frames.end());
    std::printf("%-22s median %7.1f ms  longest %7.1f ms\n", what, frames[frames.size() / 2],
                frames.back());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: chart_compare LOG charts|qcustomplot [line|points]\n");
        return 2;
    }
    QApplication app(argc, argv);
    const Series data = loadSeries(argv[1]);
    const std::string library = argv[2];
    const bool points = argc > 3 && std::string(argv[3]) == "points";
    if (data.days.empty()) return 1;

    const long before = residentKiB();
    const Clock::time_point start = Clock::now();
    std::unique_ptr<Chart> chart = makeChart(library, data, points);
    if (!chart) {
        std::fprintf(stderr, "chart_compare: %s is not built in\n", library.c_str());
        return 2;
    }
    chart->paint();
    const double firstDraw = millisecondsSince(start);
    const long after = residentKiB();

    double from = data.days.front();
    double to = data.days.back();
    std::vector<double> zoomFrames, panFrames;
    for (int step = 0; step < 20; ++step) {
        const double middle = (from + to) / 2, half = (to - from) / 2 / 1.25;
        from = middle - half;
        to = middle + half;
        const Clock::time_point frame = Clock::now();
        chart->setXRange(from, to);
        chart->paint();
        zoomFrames.push_back(millisecondsSince(frame));
    }
    // Back out to a tenth of the log and pan across it.
    const double width = (data.days.back() - data.days.front()) / 10;
    for (int step = 0; step < 20; ++step) {
        from = data.days.front() + step * width / 2;
        const Clock::time_point frame = Clock::now();
        chart->setXRange(from, from + width);
        chart->paint();
        panFrames.push_back(millisecondsSince(frame));
    }

    std::printf("%s, %s, %zu calls\n", library.c_str(), points ? "points" : "line",
                data.days.size());
    std::printf("first draw             %7.1f ms\n", firstDraw);
    printFrames("zoom frames", zoomFrames);
    printFrames("pan frames", panFrames);
    std::printf("memory added           %7.1f MiB\n", (after - before) / 1024.0);
    return 0;
}
