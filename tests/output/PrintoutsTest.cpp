// The table printout, as lines.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "output/PrintoutFixtures.h"
#include "output/Printouts.h"

namespace kestal {
namespace {

using testing::printoutText;
using testing::twoCallTable;

TEST(TablePrintout, EveryCallAsFourteenLabelledLines) {
    const std::string expected =
        "Call 1\n"
        " Start Time: 12/01/2026 10:00:01\n"
        " End Time: 12/01/2026 10:05:01\n"
        " Duration: 00:05:00\n"
        " LCP: 1.5\n"
        " CHAP: 2.0\n"
        " IPCP: 3.1\n"
        " CCP: -\n"
        " Bytes Rx:          1234\n"
        " Bytes Tx:           567\n"
        " Frames Rx:            12\n"
        " Frames Tx:            13\n"
        " CRC Errors:             0\n"
        " Timeout Errors:             1\n"
        " Alignment Errors:             2\n"
        "\n"
        "Call 2\n"
        " Start Time: 12/02/2026 23:59:58\n"
        " End Time: -                \n"
        " Duration: -       \n"
        " LCP: 1.5\n"
        " CHAP: 2.0\n"
        " IPCP: 3.1\n"
        " CCP: -\n"
        " Bytes Rx: \n"
        " Bytes Tx:           567\n"
        " Frames Rx:            12\n"
        " Frames Tx:            13\n"
        " CRC Errors:             0\n"
        " Timeout Errors:             1\n"
        " Alignment Errors:             2\n"
        "\n";
    EXPECT_EQ(printoutText(twoCallTable()), expected);
}

TEST(TablePrintout, TableWithoutCallsPrintsItsEmptyRow) {
    const std::string expected =
        "Call 1\n"
        " Start Time: \n"
        " End Time: \n"
        " Duration: \n"
        " LCP: \n"
        " CHAP: \n"
        " IPCP: \n"
        " CCP: \n"
        " Bytes Rx: \n"
        " Bytes Tx: \n"
        " Frames Rx: \n"
        " Frames Tx: \n"
        " CRC Errors: \n"
        " Timeout Errors: \n"
        " Alignment Errors: \n"
        "\n";
    EXPECT_EQ(printoutText(CallTable(kDialUpColumns)), expected);
}

TEST(TablePrintout, CallNumbersFollowTheRows) {
    CallTable table{kDialUpColumns};
    table.setRowCount(11);
    for (int row = 0; row < 11; ++row)
        table.setCell(Column::StartTime, row, "start " + std::to_string(row + 1));
    std::vector<std::string> callLines;
    forEachTablePrintoutLine(table, [&](std::string_view line) {
        if (line.starts_with("Call ")) callLines.emplace_back(line);
    });
    ASSERT_EQ(callLines.size(), 11u);
    EXPECT_EQ(callLines.front(), "Call 1");
    EXPECT_EQ(callLines.back(), "Call 11");
}

}  // namespace
}  // namespace kestal
