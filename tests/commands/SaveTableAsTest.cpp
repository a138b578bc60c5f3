// File > Save Table As: its dialogs, the layout the name asks for, and file
// failures.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "calls/DialUpColumns.h"
#include "commands/Messages.h"
#include "commands/SaveTableAs.h"
#include "output/ExportFixtures.h"
#include "output/TableExport.h"
#include "platform/Errors.h"
#include "support/FakePlatform.h"
#include "support/TempDir.h"
#include "table/CallTable.h"

namespace kestal {
namespace {

using testing::FakePlatform;
using testing::TempDir;
using namespace testing;

struct SaveRun {
    FakePlatform platform;
    FileDialog saveDialog{FileDialog::Kind::Save, "", "txt", "", "previous.txt", true, true};

    void answer(std::optional<std::string> path, DialogResult header) {
        platform.fileDialogAnswers.push_back(std::move(path));
        platform.dialogAnswers.push_back(header);
    }
    void run(const CallTable& table) {
        runCommand(platform, [&] { commands::saveTableAs(table, platform, saveDialog); });
    }
};

TEST(SaveTableAs, PreparesTheDialogAndAsksAboutTheHeader) {
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

TEST(SaveTableAs, WritesTheLayoutTheNameAsksFor) {
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

TEST(SaveTableAs, CancelWritesNothingAndAsksNothing) {
    SaveRun run;
    run.answer(std::nullopt, DialogResult::Yes);
    run.run(tableOf({kCall}));
    EXPECT_EQ(run.platform.fileDialogsShown.size(), 1u);
    EXPECT_TRUE(run.platform.dialogs.empty());
}

TEST(SaveTableAs, ReplacesTheWholeOfAnExistingFile) {
    TempDir dir;
    const std::string path = dir.write("calls.csv", repeated('#', 5000));
    SaveRun run;
    run.answer(path, DialogResult::No);
    run.run(tableOf({kCall}));
    EXPECT_EQ(testing::readBytes(path), kCallCommas);
}

TEST(SaveTableAs, ReportsAFileThatCannotBeWritten) {
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
