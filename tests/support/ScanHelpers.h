// Scanning a few log lines in a test: the texts of opening and closing
// lines, and the table and warnings a scan gives.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "calls/CallScan.h"
#include "support/LogTestHelpers.h"

namespace kestal::testing {

inline const std::string kNoEnd = "-                ";
inline const std::string kNoDuration = "-       ";

inline std::string opened(std::string_view time, std::string_view date = "12-01-2026") {
    return logLine(time, "Remote access driver log opened.", date);
}
inline std::string closed(std::string_view time, std::string_view date = "12-01-2026") {
    return logLine(time, "Remote access driver log closed.", date);
}

struct ScanResult {
    CallTable table{kDialUpColumns};
    std::vector<std::string> corruptCalls;  // start texts, one per warning
};

inline ScanResult scan(const std::vector<std::string>& lines, RegionalSettings settings = {}) {
    ScanResult result;
    const LogLines log = LogLines::fromBytes(crlfText(lines));
    scanCalls(log, result.table, settings,
              [&](std::string_view start) { result.corruptCalls.emplace_back(start); });
    return result;
}

// Columns 0 to 2 of every call row.
inline std::vector<std::vector<std::string>> times(const CallTable& table) {
    std::vector<std::vector<std::string>> rows;
    for (int row = 0; row < table.rowCount(); ++row)
        rows.push_back({std::string(table.cell(Column::StartTime, row)),
                        std::string(table.cell(Column::EndTime, row)),
                        std::string(table.cell(Column::Duration, row))});
    return rows;
}

}  // namespace kestal::testing
