// The charts of a pppd log, made and filled the same way for the Trends
// window and for the report: per day, hours online and drops with failed
// attempts beside them; per session, its duration by its start; a histogram
// of session lengths; and a map of the drops by weekday and hour of day.
#pragma once

#include <QString>
#include <vector>

#include "app/figures/TrendChart.h"
#include "output/CallTrends.h"
#include "output/PppdTrends.h"

namespace kestal {

// The per-day chart's bars: online hours, drops, failed attempts. A long
// log has more days than the chart has pixels across: before each drawing
// (thin, on the chart's afterLayout) each series gets only the bars that
// show in its view, the tallest of each pixel column (barsToDraw), and all
// of them again once zoomed in far enough.
class PppdDayBars {
public:
    // A series of bars: each day's (seconds since 1970, ascending) standing
    // at the day plus shift, of the day's value. values must outlive this.
    void add(QCPBars* bars, const std::vector<double>& days, double shift,
             const std::vector<double>& values);

    // Each series' data set for its present view; nothing for a series
    // whose view hasn't changed.
    void thin();
    // The index in trends.days of the day of a bar (bars' data index); -1
    // for none, or for a plottable that isn't one of these bars.
    int dayOf(const QCPAbstractPlottable* bars, int index) const;
    std::size_t size() const { return series_.size(); }
    QCPBars* bars(std::size_t which) const { return series_[which].bars; }

private:
    struct Series {
        QCPBars* bars;
        std::vector<double> keys;  // where each day's bar stands
        const std::vector<double>* values;
        ChartView view;
        std::vector<std::size_t> drawn;  // the days in bars' data
    };
    void draw(Series& series, std::vector<std::size_t> days);
    std::vector<Series> series_;
};

// Per day: hours online above, drops and failed attempts below.
TrendChart* makePppdPerDayChart(QWidget* parent);
// Fills it with every day's bars (thinned by the returned bars' thin).
PppdDayBars fillPppdPerDayChart(TrendChart& chart, const PppdTrends& trends);

// Per session: its duration in hours by its start. The points are set by
// the window for the view (pointsToDraw).
TrendChart* makePppdPerSessionChart(QWidget* parent);

// How many sessions lasted how long.
TrendChart* makePppdHistogramChart(QWidget* parent);
void fillPppdHistogramChart(TrendChart& chart, const PppdTrends& trends);

// Drops by weekday (across, Monday first) and hour of day (down, midnight
// at the top): a forced disconnect at the same hour every day shows as one
// hot row.
TrendChart* makePppdDropMapChart(QWidget* parent);
QCPColorMap* fillPppdDropMapChart(TrendChart& chart, const PppdTrends& trends);
// The weekday and hour of the map's cell at a pixel; false outside it.
bool dropMapCellAt(const QCPColorMap& map, const QPointF& pixel, int& weekday, int& hour);

// "Mon" to "Sun".
QString weekdayName(int weekday);

}  // namespace kestal
