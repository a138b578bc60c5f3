// The table and details printouts, as lines handed to the printer.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "output/Printouts.h"
#include "platform/Errors.h"
#include "support/FakePlatform.h"

namespace kestal {
namespace {

using testing::FakePlatform;

std::string printoutText(const CallTable& table) {
    std::string text;
    forEachTablePrintoutLine(table, [&text](std::string_view line) {
        text += line;
        text += '\n';
    });
    return text;
}

std::string joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines) text += line + '\n';
    return text;
}

// Two calls; every cell tells its column, so a shifted or missing column
// shows. Columns 14 to 17 hold values that must not be printed.
CallTable twoCallTable() {
    CallTable table;
    table.setRowCount(3);
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
    table.writeRow(1, first);
    table.writeRow(2, second);
    return table;
}

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
    EXPECT_EQ(printoutText(CallTable()), expected);
}

TEST(TablePrintout, CallNumbersFollowTheRows) {
    CallTable table;
    table.setRowCount(12);
    for (int row = 1; row < 12; ++row) table.setCell(0, row, "start " + std::to_string(row));
    std::vector<std::string> callLines;
    forEachTablePrintoutLine(table, [&](std::string_view line) {
        if (line.starts_with("Call ")) callLines.emplace_back(line);
    });
    ASSERT_EQ(callLines.size(), 11u);
    EXPECT_EQ(callLines.front(), "Call 1");
    EXPECT_EQ(callLines.back(), "Call 11");
}

TEST(Print1Click, PrintsTheTableInCourierNewAsOneJob) {
    FakePlatform platform;
    const CallTable table = twoCallTable();
    Print1Click(table, platform);
    const auto& jobs = platform.fakePrinter.jobs;
    ASSERT_EQ(jobs.size(), 1u);
    EXPECT_EQ(jobs[0].fontName, "courier new");
    EXPECT_TRUE(jobs[0].closed);
    EXPECT_EQ(joined(jobs[0].lines), printoutText(table));
}

TEST(PrintDetails, LinesAsTheyAreInTheFontThePrinterHas) {
    FakePlatform platform;
    // A tab, a high byte and a trailing blank go out unchanged.
    const std::vector<std::string> memo = {
        "12/01/2026 10:00:01.00 - Remote access driver log opened.",
        "12/01/2026 10:00:02.10 - IP address of remote: 0a000001 (10.0.0.1)\t\xe9 ",
        "12/01/2026 10:05:01.00 - Remote access driver log closed."};

    printDetails(memo, platform);
    Print1Click(twoCallTable(), platform);
    printDetails(memo, platform);

    const auto& jobs = platform.fakePrinter.jobs;
    ASSERT_EQ(jobs.size(), 3u);
    EXPECT_EQ(jobs[0].fontName, "MS Sans Serif");
    EXPECT_EQ(jobs[2].fontName, "courier new");  // the table's font stays
    EXPECT_EQ(jobs[0].lines, memo);
    EXPECT_EQ(jobs[2].lines, memo);
    EXPECT_TRUE(jobs[0].closed && jobs[2].closed);
}

TEST(PrintDetails, EmptyTextStillMakesAJob) {
    FakePlatform platform;
    printDetails({}, platform);
    ASSERT_EQ(platform.fakePrinter.jobs.size(), 1u);
    EXPECT_TRUE(platform.fakePrinter.jobs[0].lines.empty());
    EXPECT_TRUE(platform.fakePrinter.jobs[0].closed);
}

TEST(Printing, NoDefaultPrinterIsReportedAndNothingPrints) {
    FakePlatform platform;
    platform.fakePrinter.hasDefaultPrinter = false;
    runCommand(platform, [&] { Print1Click(twoCallTable(), platform); });
    runCommand(platform, [&] { printDetails({"a line"}, platform); });
    EXPECT_TRUE(platform.fakePrinter.jobs.empty());
    EXPECT_EQ(platform.dialogTexts(),
              (std::vector<std::string>{"There is no default printer currently selected.",
                                        "There is no default printer currently selected."}));
}

}  // namespace
}  // namespace kestal
