// The three export layouts, the choice of layout by file name, and the
// Save Table As command with its dialogs and file failures.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "log/CallTable.h"
#include "output/TableExport.h"
#include "platform/Errors.h"
#include "platform/TextFile.h"
#include "support/FakePlatform.h"
#include "support/TempDir.h"

namespace kestal {
namespace {

using testing::FakePlatform;
using testing::TempDir;

std::string blanks(std::size_t count) { return std::string(count, ' '); }
std::string repeated(char c, std::size_t count) { return std::string(count, c); }

// clang-format off
// A call as the scan writes it: 19-character times, counters of 10.
const RowCells kCall = {"12-01-2026 09:12:04", "12-01-2026 09:22:41", "00:10:37", "1.0", "1.8",
                        "2.8", "3.1", "    182344", "     23117", "      1931", "      1714",
                        "         0", "         0", "         0", "         0", "         0",
                        "         0", "         1"};
// A call ended by the next one, with a Start Time under 10 characters, a
// 19-character counter, separators inside a cell and empty counters.
const RowCells kOddCall = {"short", "-                ", "-       ", "-", "-", "-", "-",
                           "1234567890123456789", "a,b\tc", "", "", "", "", "", "", "", "", ""};
// Cells longer than their fields.
const RowCells kLongCall = {"12-01-2026 09:12:04 and more", "12345678901", "x", "x", "x", "x",
                            "x", "x", "x", "x", "x", "x", "x", "x", "x", "x", "x", "x"};
// clang-format on

CallTable tableOf(const std::vector<RowCells>& rows) {
    CallTable table;
    if (rows.size() > 1) table.setRowCount(static_cast<int>(rows.size()) + 1);
    for (std::size_t i = 0; i < rows.size(); ++i) table.writeRow(static_cast<int>(i) + 1, rows[i]);
    return table;
}

const std::string kTabHeader =
    "Start Time\tEnd Time\tDuration\tLCP\tCHAP\tIPCP\tCCP\tBytes Rx\tBytes Tx\tFrames Rx\t"
    "Frames Tx\tCRC Errors\tTimeout Errors\tAlignment Errors\tOverrun Errors\tFraming Errors\t"
    "Buffer Errors\tIncomplete Packets\r\n";
const std::string kCommaHeader =
    "Start Time,End Time,Duration,LCP,CHAP,IPCP,CCP,Bytes Rx,Bytes Tx,Frames Rx,Frames Tx,"
    "CRC Errors,Timeout Errors,Alignment Errors,Overrun Errors,Framing Errors,Buffer Errors,"
    "Incomplete Packets\r\n";
const std::string kFixedHeader =
    "Start Time          End Time            Duration  LCP time  CHAP time IPCP time CCP time"
    "  Bytes Rx  Bytes Tx  Frames Rx Frames Tx CRC       Timeout   Alignment Overrun   "
    "Framing   Buffer   Incomplete\r\n";
const std::string kRuler = repeated('=', 160) + "\r\n";

const std::string kCallTabs =
    "12-01-2026 09:12:04\t12-01-2026 09:22:41\t00:10:37\t1.0\t1.8\t2.8\t3.1\t    182344\t"
    "     23117\t      1931\t      1714\t         0\t         0\t         0\t         0\t"
    "         0\t         0\t         1\r\n";
const std::string kCallCommas =
    "12-01-2026 09:12:04,12-01-2026 09:22:41,00:10:37,1.0,1.8,2.8,3.1,    182344,     23117,"
    "      1931,      1714,         0,         0,         0,         0,         0,         0,"
    "         1\r\n";
const std::string kCallFixed =
    "12-01-2026 09:12:04 12-01-2026 09:22:41 00:10:37  1.0       1.8       2.8       3.1       "
    "    182344     23117      1931      1714         0         0         0         0         0"
    "         0         1\r\n";
const std::string kOddTabs =
    "short\t-                \t-       \t-\t-\t-\t-\t1234567890123456789\t"
    "a,b\tc\t\t\t\t\t\t\t\t\t\r\n";
const std::string kOddCommas =
    "short,-                ,-       ,-,-,-,-,1234567890123456789,"
    "\"a,b\tc\",,,,,,,,,\r\n";  // the cell holding a comma quoted
const std::string kOddFixed = "short" + blanks(10) + "-                " + blanks(3) + "-       " +
                              blanks(2) + "-" + blanks(9) + "-" + blanks(9) + "-" + blanks(9) +
                              "-" + blanks(9) + "1234567890" + "a,b\tc" + blanks(5) +
                              blanks(9 * 10) + "\r\n";
std::string sixteenFields(std::string_view field) {
    std::string fields;
    for (int i = 0; i < 16; ++i) fields += field;
    return fields;
}
const std::string kLongFixed =
    "12-01-2026 09:12:04 " + ("12345678901" + blanks(9)) + sixteenFields("x         ") + "\r\n";

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

// ------------------------------------------------------------- the command

struct SaveRun {
    FakePlatform platform;
    FileDialog SaveDialog1{FileDialog::Kind::Save, "", "txt", "", "previous.txt", true, true};

    void answer(std::optional<std::string> path, DialogResult header) {
        platform.fileDialogAnswers.push_back(std::move(path));
        platform.dialogAnswers.push_back(header);
    }
    void run(const CallTable& table) {
        runCommand(platform, [&] { SaveAs1Click(table, platform, SaveDialog1); });
    }
};

TEST(SaveAs1Click, PreparesTheDialogAndAsksAboutTheHeader) {
    SaveRun run;
    TempDir dir;
    run.answer(dir.file("calls.txt"), DialogResult::Yes);
    run.run(tableOf({kCall}));

    ASSERT_EQ(run.platform.fileDialogsShown.size(), 1u);
    EXPECT_EQ(run.platform.fileDialogsShown[0].fileName, "");
    EXPECT_EQ(run.platform.fileDialogsShown[0].filter,
              "Text (*.txt)|*.txt|Text & Tabs (*.tsv)|*.tsv|Text & Commas (*.csv)|*.csv");
    ASSERT_EQ(run.platform.dialogs.size(), 1u);
    EXPECT_EQ(run.platform.dialogs[0].text, "Include the header names as first row?");
    EXPECT_EQ(run.platform.dialogs[0].type, DialogType::Information);
    EXPECT_EQ(run.platform.dialogs[0].buttons, DialogButtons::YesNo);
}

TEST(SaveAs1Click, WritesTheLayoutTheNameAsksFor) {
    struct Case {
        const char* folder;  // made before saving, "" for none
        const char* name;
        DialogResult headerAnswer;
        std::optional<ExportLayout> layout;  // nothing: no file written
        bool header;
    };
    using L = ExportLayout;
    const Case cases[] = {
        {"", "calls.txt", DialogResult::Yes, L::FixedWidth, true},
        {"", "calls.txt", DialogResult::No, L::FixedWidth, false},
        {"", "REPORT.TSV", DialogResult::Yes, L::TabSeparated, true},
        {"", "calls.csv", DialogResult::No, L::CommaSeparated, false},
        {"", "calls.tsv.txt", DialogResult::No, L::FixedWidth, false},
        {"reports.txt", "calls.csv", DialogResult::Yes, L::CommaSeparated, true},
        {"", "calls.dat", DialogResult::Yes, std::nullopt, false},
    };
    const CallTable table = tableOf({kCall, kOddCall});
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.folder) + "/" + c.name);
        TempDir dir;
        if (*c.folder) std::filesystem::create_directory(dir.file(c.folder));
        const std::string path =
            *c.folder ? dir.file(std::string(c.folder) + "/" + c.name) : dir.file(c.name);
        SaveRun run;
        run.answer(path, c.headerAnswer);
        run.run(table);

        std::vector<std::string> expectedDialogs = {"Include the header names as first row?"};
        if (c.layout) {
            EXPECT_EQ(testing::readBytes(path), exportTable(table, *c.layout, c.header));
            // Written under the name as typed, not a lower-cased copy.
            EXPECT_EQ(std::distance(std::filesystem::directory_iterator(
                                        std::filesystem::path(path).parent_path()),
                                    std::filesystem::directory_iterator{}),
                      1);
        } else {
            EXPECT_FALSE(std::filesystem::exists(path));
            EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
            expectedDialogs.emplace_back(kNoLayoutWarning);
            EXPECT_EQ(run.platform.dialogs.back().type, DialogType::Warning);
            EXPECT_EQ(run.platform.dialogs.back().buttons, DialogButtons::Ok);
        }
        EXPECT_EQ(run.platform.dialogTexts(), expectedDialogs);
    }
}

TEST(SaveAs1Click, CancelWritesNothingAndAsksNothing) {
    SaveRun run;
    run.answer(std::nullopt, DialogResult::Yes);
    run.run(tableOf({kCall}));
    EXPECT_EQ(run.platform.fileDialogsShown.size(), 1u);
    EXPECT_TRUE(run.platform.dialogs.empty());
}

TEST(SaveAs1Click, ReplacesTheWholeOfAnExistingFile) {
    TempDir dir;
    const std::string path = dir.write("calls.csv", repeated('#', 5000));
    SaveRun run;
    run.answer(path, DialogResult::No);
    run.run(tableOf({kCall}));
    EXPECT_EQ(testing::readBytes(path), kCallCommas);
}

TEST(SaveAs1Click, ReportsAFileThatCannotBeWritten) {
    TempDir dir;
    std::filesystem::create_directory(dir.file("calls.txt"));
    // /dev/full under a name that asks for a layout.
    std::filesystem::create_symlink("/dev/full", dir.file("full.txt"));
    struct Case {
        std::string path;
        std::string report;
    };
    // Failures that are real for root too, who ignores permission bits.
    std::vector<Case> cases = {
        {dir.file("full.txt"), "Disk full."},
        {dir.file("calls.txt"), "File access denied."},        // a folder stands there
        {dir.file("missing/calls.txt"), "Invalid filename."},  // no such folder
    };
    if (std::filesystem::exists("/sys/kernel")) {
        cases.push_back({"/sys/kernel/calls.txt", "File access denied."});
    }
    for (const auto& c : cases) {
        SaveRun run;
        run.answer(c.path, DialogResult::Yes);
        run.run(tableOf({kCall}));
        ASSERT_FALSE(run.platform.dialogs.empty()) << c.path;
        EXPECT_EQ(run.platform.dialogs.back().kind, testing::DialogRecord::Kind::ErrorReport)
            << c.path;
        EXPECT_EQ(run.platform.dialogs.back().text, c.report) << c.path;
    }
}

}  // namespace
}  // namespace kestal
