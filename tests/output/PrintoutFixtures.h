// A two-call table and its printout as text, shared by the printout and
// Print tests.
#pragma once

#include <string>
#include <string_view>

#include "calls/DialUpColumns.h"
#include "output/Printouts.h"
#include "table/CallTable.h"

namespace kestal::testing {

inline std::string printoutText(const CallTable& table) {
    std::string text;
    forEachTablePrintoutLine(table, [&text](std::string_view line) {
        text += line;
        text += '\n';
    });
    return text;
}

// Two calls; every cell tells its column, so a shifted or missing column
// shows. Columns 14 to 17 hold values that must not be printed.
inline CallTable twoCallTable() {
    CallTable table{kDialUpColumns};
    table.setRowCount(2);
    const RowCells first = {"12/01/2026 10:00:01",
                            "12/01/2026 10:05:01",
                            "00:05:00",
                            "1.5",
                            "2.0",
                            "3.1",
                            "-",
                            "         1234",
                            "          567",
                            "           12",
                            "           13",
                            "            0",
                            "            1",
                            "            2",
                            "OVR",
                            "FRM",
                            "BUF",
                            "INC"};
    RowCells second = first;
    second[0] = "12/02/2026 23:59:58";
    second[1] = "-                ";
    second[2] = "-       ";
    second[7] = "";
    table.writeRow(0, first);
    table.writeRow(1, second);
    return table;
}

}  // namespace kestal::testing
