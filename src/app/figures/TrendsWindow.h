// Call > Trends: charts of the calls the grid shows. Per call: duration,
// layer times, throughput and errors per 1000 frames; per day: calls, online
// time and median duration; histograms of durations and layer times. Zoom
// and pan with the mouse and the keys; a click on a per-call point selects
// that call in the grid. Many calls show per call as density: where more
// calls fall on the same few pixels their point is drawn darker.
#pragma once

#include <QWidget>
#include <array>
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
    // Per call, each measure is drawn in shades: shade 0 holds the points
    // where the most calls lie on top of one another (or every point, when
    // none do), the last shade those of a single call.
    static constexpr int kShades = 4;
    // The per-call graph of a measure in a shade, with the points drawn for
    // the view.
    QCPGraph* perCallGraph(CallMeasure measure, int shade = 0) const;

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
        CallMeasure measure;
        std::array<QCPGraph*, kShades> shades{};
        // Indices into trends_ of the points of each shade.
        std::array<std::vector<std::size_t>, kShades> drawn;
        std::vector<std::size_t> picked;    // in view, one a cell
        std::vector<std::uint32_t> counts;  // the calls in each picked point's cell
        ChartView view{0, 0, 0, 0, 0, 0};
    };
    void createCharts();
    void nameForScreenReaders();
    void createPerCallChart();
    void fillPerCallChart();
    void fillPerDayChart();
    // Keeps only the bars that show at the per-day chart's present zoom.
    void thinPerDayBars();
    void fillHistograms();
    // Keeps only the points that show at the chart's present zoom and size.
    void thinPerCallPoints();
    // Hands each graph's picked points to its shades, and draws the
    // scarcer over the denser.
    void shadePerCallPoints(const std::vector<PerCallGraph*>& changed);
    // The value axes of the per-call plots fitted to the points in view.
    void fitPerCallValues();

    ShownCalls calls_;
    Platform& platform_;
    CallTrends trends_;
    std::vector<PerCallGraph> perCall_;
    QCPRange fittedTo_;  // the time range the per-call value axes were fitted to
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
