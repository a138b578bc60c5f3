// The charts of a pppd log, made and filled the same way for the Trends
// window and for the report: per day, hours online and drops with failed
// attempts beside them; per session, its duration by its start; a histogram
// of session lengths; and a map of the drops by weekday and hour of day.
#pragma once

#include <QString>
#include <vector>

#include "app/figures/TrendChart.h"
#include "output/PppdTrends.h"

namespace kestal {

// Per day: hours online above, drops and failed attempts below.
TrendChart* makePppdPerDayChart(QWidget* parent);
// Fills it; returns the bars, online hours first, then drops and failed
// attempts (their data index is the day's index in trends.days).
std::vector<QCPBars*> fillPppdPerDayChart(TrendChart& chart, const PppdTrends& trends);

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
