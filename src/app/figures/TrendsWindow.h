// Call > Trends: charts of the calls the grid shows. Per call: duration,
// layer times, throughput and errors per 1000 frames; per day: calls, online
// time and median duration; histograms of durations and layer times. Zoom
// and pan with the mouse and the keys; a click on a per-call point selects
// that call in the grid.
#pragma once

#include <QWidget>
#include <vector>

#include "app/figures/ShownCalls.h"
#include "app/figures/TrendChart.h"
#include "output/CallTrends.h"

class QLabel;
class QPushButton;
class QTabWidget;

namespace kestal {

class TrendsWindow : public QWidget {
    Q_OBJECT
public:
    TrendsWindow(ShownCalls calls, Platform& platform, QWidget* parent = nullptr);

    // The series again for the calls shown now.
    void refresh();
    void showWholeRange();
    void savePicture();
    void print();
    TrendChart* currentChart() const;
    // Selects in the grid the call drawn as point index of graph (a per-call
    // graph); false when there is none.
    bool selectDrawnCall(QCPAbstractPlottable* graph, int index);

    const CallTrends& trends() const { return trends_; }
    // The per-call graph of a measure, with the points drawn for the view.
    QCPGraph* perCallGraph(CallMeasure measure) const;

private:
    QTabWidget* chartTabs_ = nullptr;
    TrendChart* perCallChart_ = nullptr;
    TrendChart* perDayChart_ = nullptr;
    TrendChart* histogramChart_ = nullptr;
    QLabel* pointLabel_ = nullptr;
    QPushButton* wholeRangeButton_ = nullptr;
    QPushButton* savePictureButton_ = nullptr;
    QPushButton* printButton_ = nullptr;
    QPushButton* closeButton_ = nullptr;
    struct PerCallGraph {
        QCPGraph* graph;
        CallMeasure measure;
        std::vector<std::size_t> drawn;  // indices into trends_ of its points
        ChartView view{0, 0, 0, 0, 0, 0};
    };
    void createCharts();
    void createPerCallChart();
    void fillPerCallChart();
    void fillPerDayChart();
    // Keeps only the bars that show at the per-day chart's present zoom.
    void thinPerDayBars();
    void fillHistograms();
    // Keeps only the points that show at the chart's present zoom and size.
    void thinPerCallPoints();

    ShownCalls calls_;
    Platform& platform_;
    CallTrends trends_;
    std::vector<PerCallGraph> perCall_;
    struct PerDayBars {
        QCPBars* bars;
        const std::vector<double>* values;  // in trends_
        ChartView view{0, 0, 0, 0, 0, 0};
    };
    std::vector<PerDayBars> perDay_;
    QCPGraph* medianLine_ = nullptr;  // filled with the bars
    FileDialog pictureDialog_;
};

}  // namespace kestal
