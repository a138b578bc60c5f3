// The times a pppd log's link was down: each gap from a drop (or a failed
// attempt while the link was not down already) to the next session that
// got a Local IP, with its cause and the failed attempts inside it. Plain
// data and text, for the Outages window, kestal-calls and the report.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "output/CallStatistics.h"
#include "table/CallTable.h"

namespace kestal {

inline constexpr int kOutageColumnCount = 5;
// Marked for the windows' catalogue; the text output keeps them in English.
inline constexpr std::array<std::string_view, kOutageColumnCount> kOutageHeaders = {
    QT_TRANSLATE_NOOP("kestal::Statistics", "Start"),
    QT_TRANSLATE_NOOP("kestal::Statistics", "End"),
    QT_TRANSLATE_NOOP("kestal::Statistics", "Length"),
    QT_TRANSLATE_NOOP("kestal::Statistics", "Cause"),
    QT_TRANSLATE_NOOP("kestal::Statistics", "Failed Attempts")};

struct Outage {
    int openedBy = 0;        // the table row whose end opened the gap
    int closedBy = -1;       // the session that closed it; -1 while open at the log's end
    std::int64_t start = 0;  // in seconds of the log's clock, as the table's times
    std::optional<std::int64_t> end;
    int failedAttempts = 0;

    std::optional<std::int64_t> length() const {
        if (!end) return std::nullopt;
        return *end - start;
    }
};

// The gaps of a pppd table in log order (by Start). A gap opens at the End
// Time of a dropped session, or of a failed attempt when no gap is open
// then, and closes at the Start Time of the next session that got a Local
// IP (on the same Interface when the row that opened it has one). A drop
// inside a gap already open on its Interface opens none. Failed Attempts
// counts the rows without a Local IP that end inside the gap (the one
// that opened it included); a row on one Interface doesn't count in a gap
// of another.
std::vector<Outage> outagesOf(const CallTable& table);

// A gap's cells: Start and End as the table writes times ("-" while
// open), Length "h:mm:ss" ("-" while open), Cause (the Ended By of the row
// that opened it), Failed Attempts.
using OutageRow = std::array<std::string, kOutageColumnCount>;
OutageRow outageRow(const CallTable& table, const Outage& outage);

// Every line followed by CR LF, the header line first when asked for.
std::string outagesText(const CallTable& table, const std::vector<Outage>& outages,
                        StatisticsLayout layout, bool header);

}  // namespace kestal
