// The three export layouts and the choice of layout by file name.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "calls/DialUpColumns.h"
#include "output/ExportFixtures.h"
#include "output/TableExport.h"
#include "platform/Errors.h"
#include "platform/TextFile.h"
#include "pppd/PppdColumns.h"
#include "support/FakePlatform.h"
#include "support/TempDir.h"
#include "table/CallTable.h"

namespace kestal {
namespace {

using testing::FakePlatform;
using testing::TempDir;
using namespace testing;

TEST(ExportTable, WritesEachLayoutByteForByte) {
    struct Case {
        const char* name;
        std::vector<RowCells> rows;
        ExportLayout layout;
        bool header;
        std::string expected;
    };
    using L = ExportLayout;
    const Case cases[] = {
        {"no calls, tabs", {}, L::TabSeparated, false, repeated('\t', 17) + "\r\n"},
        {"no calls, commas", {}, L::CommaSeparated, false, repeated(',', 17) + "\r\n"},
        {"no calls, fixed width", {}, L::FixedWidth, false, blanks(180) + "\r\n"},
        {"no calls, tabs with header",
         {},
         L::TabSeparated,
         true,
         kTabHeader + repeated('\t', 17) + "\r\n"},
        {"no calls, fixed width with header",
         {},
         L::FixedWidth,
         true,
         kFixedHeader + kRuler + blanks(180) + "\r\n"},
        {"tabs", {kCall, kOddCall}, L::TabSeparated, false, kCallTabs + kOddTabs},
        {"tabs with header",
         {kCall, kOddCall},
         L::TabSeparated,
         true,
         kTabHeader + kCallTabs + kOddTabs},
        {"commas", {kCall, kOddCall}, L::CommaSeparated, false, kCallCommas + kOddCommas},
        {"commas with header",
         {kCall, kOddCall},
         L::CommaSeparated,
         true,
         kCommaHeader + kCallCommas + kOddCommas},
        {"fixed width, no ruler without header",
         {kCall, kOddCall, kLongCall},
         L::FixedWidth,
         false,
         kCallFixed + kOddFixed + kLongFixed},
        {"fixed width with header and ruler",
         {kCall, kOddCall, kLongCall},
         L::FixedWidth,
         true,
         kFixedHeader + kRuler + kCallFixed + kOddFixed + kLongFixed},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(exportTable(tableOf(c.rows), c.layout, c.header), c.expected) << c.name;
    }
}

TEST(ExportTable, FixedWidthLinesHaveTheirDocumentedLengths) {
    EXPECT_EQ(kFixedHeader.size(), 199u + 2);
    const std::string text =
        exportTable(tableOf({kCall, kLongCall}), ExportLayout::FixedWidth, true);
    std::vector<std::size_t> lengths;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = text.find("\r\n", start);
        lengths.push_back(end - start);
        start = end + 2;
    }
    EXPECT_EQ(lengths, (std::vector<std::size_t>{199, 160, 200, 200}));
}

// Another log's table (a pppd log's) in each layout: its own header names,
// and fixed-width fields that keep addresses and the last cell whole, each
// field starting under its word.
TEST(ExportTable, OtherColumnsAreWrittenByTheirOwnDescription) {
    CallTable table{kPppdColumns};
    const std::array<std::string_view, kPppdColumnCount> cells = {
        "12-01-2026 10:00:02",
        "12-01-2026 10:30:10",
        "00:30:08",
        "100",
        "ppp0",
        "/dev/ttyUSB0",
        "CHAP",
        "isp",
        "192.168.100.200",
        "10.0.0.1",
        "8.8.8.8",
        "8.8.4.4",
        "30.1",
        "1000",
        "2000",
        "echo timeout",
        "No response to 4 echo-requests, said \"pppd\""};
    table.addCall(cells);

    EXPECT_EQ(exportTable(table, ExportLayout::TabSeparated, true),
              "Start Time\tEnd Time\tDuration\tPID\tInterface\tDevice\tAuth\tPeer\tLocal IP\t"
              "Remote IP\tPrimary DNS\tSecondary DNS\tConnect Time\tBytes Sent\t"
              "Bytes Received\tEnded By\tReason\r\n"
              "12-01-2026 10:00:02\t12-01-2026 10:30:10\t00:30:08\t100\tppp0\t/dev/ttyUSB0\tCHAP\t"
              "isp\t192.168.100.200\t10.0.0.1\t8.8.8.8\t8.8.4.4\t30.1\t1000\t2000\techo timeout\t"
              "No response to 4 echo-requests, said \"pppd\"\r\n");
    const std::string csv = exportTable(table, ExportLayout::CommaSeparated, false);
    EXPECT_EQ(csv.substr(csv.rfind(",echo")),
              ",echo timeout,\"No response to 4 echo-requests, said \"\"pppd\"\"\"\r\n");

    const std::string text = exportTable(table, ExportLayout::FixedWidth, true);
    const std::size_t headerEnd = text.find("\r\n");
    const std::string header = text.substr(0, headerEnd);
    const std::size_t rulerEnd = text.find("\r\n", headerEnd + 2);
    EXPECT_EQ(text.substr(headerEnd + 2, rulerEnd - headerEnd - 2),
              std::string(header.size(), '='));
    const std::string row = text.substr(rulerEnd + 2, text.size() - rulerEnd - 4);
    std::size_t field = 0;
    for (std::size_t column = 0; column < kPppdColumns.size(); ++column) {
        EXPECT_EQ(
            header.compare(field, kPppdColumns[column].word.size(), kPppdColumns[column].word), 0)
            << column;
        EXPECT_EQ(row.compare(field, cells[column].size(), cells[column]), 0) << column;
        field += fixedFieldWidth(kPppdColumns, column);
    }
    EXPECT_TRUE(row.ends_with("said \"pppd\""));
}

TEST(ExportTable, StreamsThroughTheFileWriterAsItBuildsText) {
    // Enough rows to fill the writer's buffer several times over.
    std::vector<RowCells> rows(12000, kCall);
    rows[5000] = kOddCall;
    const CallTable table = tableOf(rows);
    TempDir dir;
    for (const ExportLayout layout :
         {ExportLayout::TabSeparated, ExportLayout::CommaSeparated, ExportLayout::FixedWidth}) {
        const std::string path = dir.file("big.out");
        TextFileWriter out;
        out.create(path);
        writeTable(out, table, layout, true);
        out.close();
        EXPECT_EQ(testing::readBytes(path), exportTable(table, layout, true));
    }
}

// ------------------------------------------------------------- file names

TEST(LayoutForPath, LooksOnlyAtTheFileName) {
    struct Case {
        std::string_view path;
        std::optional<ExportLayout> expected;
    };
    using L = ExportLayout;
    const Case cases[] = {
        {"/home/user/calls.txt", L::FixedWidth},
        {"/home/user/calls.tsv", L::TabSeparated},
        {"/home/user/calls.csv", L::CommaSeparated},
        {"/home/user/REPORT.TSV", L::TabSeparated},
        {"/home/user/Calls.CsV", L::CommaSeparated},
        {"/home/user/calls.tsv.txt", L::FixedWidth},
        {"/home/user/calls.txt.csv", L::FixedWidth},  // ".txt" is tested last
        {"/home/user/calls.csv.tsv", L::CommaSeparated},
        {"/home/user/calls.tsvx", L::TabSeparated},  // anywhere in the name
        {"/home/user/reports.txt/calls.csv", L::CommaSeparated},
        {"/home/user/exports.csv/calls.txt", L::FixedWidth},
        {"/home/user/calls.dat", std::nullopt},
        {"/home/user/exports.csv/calls.dat", std::nullopt},
        {"/home/user/calls", std::nullopt},
        {"/home/user/calls_txt", std::nullopt},
        {"/home/user/dir.txt/", std::nullopt},
        {"calls.csv", L::CommaSeparated},
        {"", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(layoutForPath(c.path), c.expected) << c.path;
    }
}

}  // namespace
}  // namespace kestal
