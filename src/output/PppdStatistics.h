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
// Marked for the windows' catalogue; the text output keeps them in English.
inline constexpr std::array<std::string_view, kPppdStatisticsColumnCount> kPppdStatisticsHeaders = {
    QT_TRANSLATE_NOOP("kestal::Statistics", "Period"),
    QT_TRANSLATE_NOOP("kestal::Statistics", "Sessions"),
    QT_TRANSLATE_NOOP("kestal::Statistics", "Failed Attempts"),
    QT_TRANSLATE_NOOP("kestal::Statistics", "Drops"),
    QT_TRANSLATE_NOOP("kestal::Statistics", "Online Time"),
    QT_TRANSLATE_NOOP("kestal::Statistics", "Availability"),
    QT_TRANSLATE_NOOP("kestal::Statistics", "Longest Session"),
    QT_TRANSLATE_NOOP("kestal::Statistics", "Median Session"),
    QT_TRANSLATE_NOOP("kestal::Statistics", "Mean Time to Reconnect"),
    QT_TRANSLATE_NOOP("kestal::Statistics", "Bytes Sent"),
    QT_TRANSLATE_NOOP("kestal::Statistics", "Bytes Received"),
    QT_TRANSLATE_NOOP("kestal::Statistics", "Echo Timeout"),
    QT_TRANSLATE_NOOP("kestal::Statistics", "Peer"),
    QT_TRANSLATE_NOOP("kestal::Statistics", "Hangup"),
    QT_TRANSLATE_NOOP("kestal::Statistics", "Stopped"),
    QT_TRANSLATE_NOOP("kestal::Statistics", "Idle"),
    QT_TRANSLATE_NOOP("kestal::Statistics", "Time Limit"),
    QT_TRANSLATE_NOOP("kestal::Statistics", "Traffic Limit"),
    QT_TRANSLATE_NOOP("kestal::Statistics", "Auth Failed"),
    QT_TRANSLATE_NOOP("kestal::Statistics", "Negotiation Timeout"),
    QT_TRANSLATE_NOOP("kestal::Statistics", "No PADO"),
    QT_TRANSLATE_NOOP("kestal::Statistics", "Connect Script"),
    QT_TRANSLATE_NOOP("kestal::Statistics", "Device"),
    QT_TRANSLATE_NOOP("kestal::Statistics", "Still Up"),
    QT_TRANSLATE_NOOP("kestal::Statistics", "Unknown"),
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
// session still up ends at its last. Availability counts the time up of
// every session of the table, chosen or not: which rows are counted
// doesn't change when the link was up.
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
