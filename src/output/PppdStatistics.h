// Figures of a pppd log's sessions and failed attempts per period (the
// whole log, a day, an ISO week or a month): how often the link dropped,
// how long it was up, how fast it came back, and how each row ended. Plain
// data and text, for the Statistics window, kestal-calls and the report.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "output/CallStatistics.h"
#include "pppd/PppdColumns.h"
#include "table/CallTable.h"

namespace kestal {

inline constexpr int kPppdStatisticsColumnCount = 25;
inline constexpr std::array<std::string_view, kPppdStatisticsColumnCount> kPppdStatisticsHeaders = {
    "Period",
    "Sessions",
    "Failed Attempts",
    "Drops",
    "Online Time",
    "Availability",
    "Longest Session",
    "Median Session",
    "Mean Time to Reconnect",
    "Bytes Sent",
    "Bytes Received",
    "Echo Timeout",
    "Peer",
    "Hangup",
    "Stopped",
    "Idle",
    "Time Limit",
    "Traffic Limit",
    "Auth Failed",
    "Negotiation Timeout",
    "No PADO",
    "Connect Script",
    "Device",
    "Still Up",
    "Unknown",
};

// The figures' columns by what they hold (an index into a row).
enum PppdFigure : int {
    kPeriodFigure,
    kSessionsFigure,
    kFailedFigure,
    kDropsFigure,
    kOnlineFigure,
    kAvailabilityFigure,
    kLongestFigure,
    kMedianFigure,
    kReconnectFigure,
    kSentFigure,
    kReceivedFigure,
    kFirstEndedByFigure,  // Echo Timeout, and the thirteen after it
};

// One period's figures as the texts every output shows; the Ended By
// counts follow the order of the Ended By column's words.
using PppdStatisticsRow = std::array<std::string, kPppdStatisticsColumnCount>;

// The figures of the given rows of a pppd table (any order), one row per
// period that holds one of them, in ascending order, "unknown" last. span
// is the log's first and last dated line: Availability needs it, and a
// session still up ends at its last.
std::vector<PppdStatisticsRow> pppdStatisticsOf(const CallTable& table,
                                                const std::vector<int>& rows, StatisticsPeriod by,
                                                const LogSpan& span);

// For each row of the table, the session that reconnected after it: the
// next row in log order that is a session with a Local IP, starting at or
// after the row's End Time, on the row's Interface when it has one; -1
// for none (and for rows without an End Time).
std::vector<int> reconnectingRows(const CallTable& table);

// The figures in the user's region's way, as the grid shows its cells: the
// durations with the regional time separator, Availability with the
// regional decimal separator.
void useRegionalSeparators(std::vector<PppdStatisticsRow>& rows, const RegionalSettings& settings);

// Every line followed by CR LF, the header line first when asked for.
std::string pppdStatisticsLine(const PppdStatisticsRow& row, StatisticsLayout layout);
std::string pppdStatisticsHeaderLine(StatisticsLayout layout);
std::string pppdStatisticsText(const std::vector<PppdStatisticsRow>& rows, StatisticsLayout layout,
                               bool header);

// A share in tenths of a percent, halves up, as "97.3%"; exposed for its
// tests.
std::string percentText(std::int64_t part, std::int64_t whole);

}  // namespace kestal
