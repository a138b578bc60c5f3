// Six calls whose values sort differently from their text, with ties, cells
// without a value, errors in different counters and a cut-short call.
#pragma once

#include <vector>

#include "calls/DialUpColumns.h"
#include "table/CallTable.h"

namespace kestal::testing {

// clang-format off
inline const std::vector<RowCells> kShownCallsFixture = {
    // 1: a whole call on 12-01-2026.
    {"12-01-2026 09:12:04", "12-01-2026 09:22:41", "00:10:37", "2.6", "3.0", "4.1", "4.5",
     "9", "1", "1", "1", "0", "0", "0", "0", "0", "0", "0"},
    // 2: the next year, cut short; CRC errors.
    {"01-05-2027 08:00:00", "-                ", "-       ", "-", "-", "-", "-",
     "", "", "", "", "3", "", "", "", "", "", ""},
    // 3: the same day as 1, later, and short.
    {"12-01-2026 23:59:50", "12-02-2026 00:00:10", "00:00:20", "10.0", "-", "-", "-",
     "10", "1", "1", "1", "0", "0", "0", "   0", "0", "0", "0"},
    // 4: the same start, duration, layer and byte count as 1 (blanks around).
    {"12-01-2026 09:12:04", "12-01-2026 09:22:41", "00:10:37", "2.6", "-", "-", "-",
     " 9 ", "1", "1", "1", "", "", "", "", "", "", ""},
    // 5: an unreadable start; one CRC error.
    {"12-x1-2026 09:12:04", "12-01-2026 09:22:41", "-       ", "0.9", "-", "-", "-",
     "abc", "", "", "", "1", "", "", "", "", "", ""},
    // 6: the day before; only its CCP came up, slowly; incomplete packets.
    {"11-30-2026 10:00:00", "11-30-2026 11:00:00", "01:00:00", "-", "-", "-", "30.5",
     "123456789012", "", "", "", "0", "0", "0", "0", "0", "0", "  2 "},
};
// clang-format on

inline CallTable tableOf(const std::vector<RowCells>& rows) {
    CallTable table{kDialUpColumns};
    if (rows.size() > 1) table.setRowCount(static_cast<int>(rows.size()));
    for (std::size_t i = 0; i < rows.size(); ++i)
        table.writeRow(static_cast<int>(i), rows[i], marksOfCells(rows[i][kEndTimeColumn]));
    return table;
}

}  // namespace kestal::testing
