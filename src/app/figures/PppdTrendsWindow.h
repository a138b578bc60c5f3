// Call > Trends for a pppd log: charts of the sessions and failed attempts
// the grid shows. Per day: hours online, drops and failed attempts; per
// session: its duration; a histogram of session lengths; the drops by
// weekday and hour. Zoom and pan as in the dial-up log's Trends; a click on
// a point, a bar or a cell of the map selects its row in the grid.
#pragma once

#include <QWidget>
#include <vector>

#include "app/figures/PppdCharts.h"
#include "app/figures/ShownCalls.h"
#include "app/figures/TrendChart.h"
#include "output/CallTrends.h"
#include "output/PppdTrends.h"

class QLabel;
class QPushButton;
class QTabWidget;

namespace kestal {

class PppdTrendsWindow : public QWidget {
    Q_OBJECT
public:
    PppdTrendsWindow(ShownCalls calls, Platform& platform, QWidget* parent = nullptr);

    // The series again for the rows shown now.
    void refresh();
    void showWholeRange();
    void savePicture();
    void print();
    TrendChart* currentChart() const;
    const PppdTrends& trends() const { return trends_; }

    // What a click on a chart's plottable selects: the table row of the
    // drawn point, bar or map cell at pixel; -1 for none.
    int rowAt(QCPAbstractPlottable* plottable, int index, const QPointF& pixel) const;
    // Selects that row in the grid and says so; false when there is none.
    bool selectRowAt(QCPAbstractPlottable* plottable, int index, const QPointF& pixel);

private:
    void createCharts();
    void nameForScreenReaders();
    // Keeps only the session points that show at the present zoom and size.
    void thinSessionPoints();
    void fitSessionValues();

    ShownCalls calls_;
    Platform& platform_;
    PppdTrends trends_;
    std::vector<float> hours_;  // each session's duration in hours
    QTabWidget* chartTabs_ = nullptr;
    TrendChart* perDayChart_ = nullptr;
    TrendChart* perSessionChart_ = nullptr;
    TrendChart* histogramChart_ = nullptr;
    TrendChart* dropMapChart_ = nullptr;
    QLabel* pointLabel_ = nullptr;
    QPushButton* wholeRangeButton_ = nullptr;
    QPushButton* savePictureButton_ = nullptr;
    QPushButton* printButton_ = nullptr;
    QPushButton* closeButton_ = nullptr;
    PppdDayBars dayBars_;
    QCPGraph* sessionPoints_ = nullptr;
    std::vector<std::size_t> drawnSessions_;  // indices into trends_ of the points drawn
    ChartView sessionView_{0, 0, 0, 0, 0, 0};
    QCPRange fittedTo_;
    QCPColorMap* dropMap_ = nullptr;
    QPointF mapPressedAt_;
    FileDialog pictureDialog_;
};

}  // namespace kestal
