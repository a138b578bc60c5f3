// The status label's count of calls, or of a pppd log's sessions and failed
// attempts.
#pragma once

#include <cstdint>
#include <numeric>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "pppd/PppdColumns.h"
#include "table/CallTable.h"

namespace kestal {

// "12 Calls" when the table holds three calls or more; nothing otherwise
// (the status label is then left as it was).
inline std::optional<std::string> callCountText(const CallTable& table) {
    const int calls = table.rowCount();
    if (calls <= 2) return std::nullopt;
    return std::to_string(calls) + " Calls";
}

// Whether a table is a pppd log's.
inline bool isPppdTable(const CallTable& table) {
    return table.columns().data() == kPppdColumns.data();
}

// A pppd table's sessions and failed attempts, by their rows' marks.
struct PppdCounts {
    int sessions = 0;
    int failedAttempts = 0;
};

// Of the rows given, or of every row.
inline PppdCounts pppdCounts(const CallTable& table, std::span<const int> rows) {
    PppdCounts counts;
    if (table.callCount() == 0) return counts;
    for (const int row : rows) {
        const std::uint32_t marks = table.marks(row);
        if (marks & kSessionMark) ++counts.sessions;
        if (marks & kFailedAttemptMark) ++counts.failedAttempts;
    }
    return counts;
}

inline PppdCounts pppdCounts(const CallTable& table) {
    std::vector<int> rows(static_cast<std::size_t>(table.rowCount()));
    std::iota(rows.begin(), rows.end(), 0);
    return pppdCounts(table, rows);
}

// "3 Sessions, 1 Failed Attempts", and "; 12 lines not understood" when
// lines fit no system log's form.
inline std::string pppdCountText(const PppdCounts& counts, std::uint64_t linesNotUnderstood) {
    std::string text = std::to_string(counts.sessions) + " Sessions, " +
                       std::to_string(counts.failedAttempts) + " Failed Attempts";
    if (linesNotUnderstood > 0)
        text += "; " + std::to_string(linesNotUnderstood) + " lines not understood";
    return text;
}

// While the filter hides rows: "2 of 3 Sessions, 0 of 1 Failed Attempts".
inline std::string pppdShownCountText(const PppdCounts& shown, const PppdCounts& all) {
    return std::to_string(shown.sessions) + " of " + std::to_string(all.sessions) + " Sessions, " +
           std::to_string(shown.failedAttempts) + " of " + std::to_string(all.failedAttempts) +
           " Failed Attempts";
}

}  // namespace kestal
