// The three export layouts and the choice of layout by file name.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "calls/DialUpColumns.h"
#include "output/ExportFixtures.h"
#include "output/TableExport.h"
#include "platform/Errors.h"
#include "platform/TextFile.h"
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
