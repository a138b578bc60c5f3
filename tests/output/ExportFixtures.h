// Call rows and the export texts expected of them, shared by the export and
// Save Table As tests.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "calls/DialUpColumns.h"
#include "table/CallTable.h"

namespace kestal::testing {

inline std::string blanks(std::size_t count) { return std::string(count, ' '); }
inline std::string repeated(char c, std::size_t count) { return std::string(count, c); }

// clang-format off
// A call as the scan writes it: 19-character times, counters of 10.
inline const RowCells kCall = {"12-01-2026 09:12:04", "12-01-2026 09:22:41", "00:10:37", "1.0", "1.8",
                        "2.8", "3.1", "    182344", "     23117", "      1931", "      1714",
                        "         0", "         0", "         0", "         0", "         0",
                        "         0", "         1"};
// A call ended by the next one, with a Start Time under 10 characters, a
// 19-character counter, separators inside a cell and empty counters.
inline const RowCells kOddCall = {"short", "-                ", "-       ", "-", "-", "-", "-",
                           "1234567890123456789", "a,b\tc", "", "", "", "", "", "", "", "", ""};
// Cells longer than their fields.
inline const RowCells kLongCall = {"12-01-2026 09:12:04 and more", "12345678901", "x", "x", "x", "x",
                            "x", "x", "x", "x", "x", "x", "x", "x", "x", "x", "x", "x"};
// clang-format on

inline CallTable tableOf(const std::vector<RowCells>& rows) {
    CallTable table{kDialUpColumns};
    if (rows.size() > 1) table.setRowCount(static_cast<int>(rows.size()));
    for (std::size_t i = 0; i < rows.size(); ++i) table.writeRow(static_cast<int>(i), rows[i]);
    return table;
}

inline const std::string kTabHeader =
    "Start Time\tEnd Time\tDuration\tLCP\tCHAP\tIPCP\tCCP\tBytes Rx\tBytes Tx\tFrames Rx\t"
    "Frames Tx\tCRC Errors\tTimeout Errors\tAlignment Errors\tOverrun Errors\tFraming Errors\t"
    "Buffer Errors\tIncomplete Packets\r\n";
inline const std::string kCommaHeader =
    "Start Time,End Time,Duration,LCP,CHAP,IPCP,CCP,Bytes Rx,Bytes Tx,Frames Rx,Frames Tx,"
    "CRC Errors,Timeout Errors,Alignment Errors,Overrun Errors,Framing Errors,Buffer Errors,"
    "Incomplete Packets\r\n";
inline const std::string kFixedHeader =
    "Start Time          End Time            Duration  LCP time  CHAP time IPCP time CCP time"
    "  Bytes Rx  Bytes Tx  Frames Rx Frames Tx CRC       Timeout   Alignment Overrun   "
    "Framing   Buffer   Incomplete\r\n";
inline const std::string kRuler = repeated('=', 160) + "\r\n";

inline const std::string kCallTabs =
    "12-01-2026 09:12:04\t12-01-2026 09:22:41\t00:10:37\t1.0\t1.8\t2.8\t3.1\t    182344\t"
    "     23117\t      1931\t      1714\t         0\t         0\t         0\t         0\t"
    "         0\t         0\t         1\r\n";
inline const std::string kCallCommas =
    "12-01-2026 09:12:04,12-01-2026 09:22:41,00:10:37,1.0,1.8,2.8,3.1,    182344,     23117,"
    "      1931,      1714,         0,         0,         0,         0,         0,         0,"
    "         1\r\n";
inline const std::string kCallFixed =
    "12-01-2026 09:12:04 12-01-2026 09:22:41 00:10:37  1.0       1.8       2.8       3.1       "
    "    182344     23117      1931      1714         0         0         0         0         0"
    "         0         1\r\n";
inline const std::string kOddTabs =
    "short\t-                \t-       \t-\t-\t-\t-\t1234567890123456789\t"
    "a,b\tc\t\t\t\t\t\t\t\t\t\r\n";
inline const std::string kOddCommas =
    "short,-                ,-       ,-,-,-,-,1234567890123456789,"
    "\"a,b\tc\",,,,,,,,,\r\n";  // the cell holding a comma quoted
inline const std::string kOddFixed = "short" + blanks(10) + "-                " + blanks(3) +
                                     "-       " + blanks(2) + "-" + blanks(9) + "-" + blanks(9) +
                                     "-" + blanks(9) + "-" + blanks(9) + "1234567890" + "a,b\tc" +
                                     blanks(5) + blanks(9 * 10) + "\r\n";
inline std::string sixteenFields(std::string_view field) {
    std::string fields;
    for (int i = 0; i < 16; ++i) fields += field;
    return fields;
}
inline const std::string kLongFixed =
    "12-01-2026 09:12:04 " + ("12345678901" + blanks(9)) + sixteenFields("x         ") + "\r\n";

}  // namespace kestal::testing
