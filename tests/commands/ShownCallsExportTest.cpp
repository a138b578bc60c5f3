// The shown calls written and copied: the same lines as Save Table As
// writes for those calls, in the order shown.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "commands/CopyCalls.h"
#include "commands/Messages.h"
#include "commands/SaveTableAs.h"
#include "output/TableExport.h"
#include "platform/Errors.h"
#include "support/FakePlatform.h"
#include "support/TempDir.h"
#include "table/ShownCallsFixture.h"

namespace kestal {
namespace {

using testing::FakePlatform;
using testing::kShownCallsFixture;
using testing::readBytes;
using testing::tableOf;
using testing::TempDir;

// Runs a save command answering the dialog with path and the header
// question with header; returns the bytes written.
template <typename Command>
std::string save(const std::string& path, bool header, const Command& command) {
    FakePlatform platform;
    FileDialog dialog{FileDialog::Kind::Save, "", "txt", "", "", true, true};
    platform.fileDialogAnswers.push_back(path);
    platform.dialogAnswers.push_back(header ? DialogResult::Yes : DialogResult::No);
    runCommand(platform, [&] { command(platform, dialog); });
    EXPECT_EQ(platform.fileDialogsShown.size(), 1u);
    EXPECT_EQ(platform.dialogTexts(), std::vector<std::string>{std::string(kHeaderQuestion)});
    return readBytes(path);
}

std::vector<std::string> linesWithEnds(const std::string& text) {
    std::vector<std::string> lines;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = text.find("\r\n", at);
        lines.push_back(text.substr(at, end + 2 - at));
        at = end + 2;
    }
    return lines;
}

TEST(SaveShownCalls, WritesTheLinesOfSaveTableAsInTheShownOrder) {
    const CallTable table = tableOf(kShownCallsFixture);
    const std::vector<int> shown = {5, 1, 4};
    TempDir dir;
    for (const char* name : {"calls.tsv", "calls.csv", "calls.txt", "CALLS.TSV"}) {
        for (const bool header : {true, false}) {
            SCOPED_TRACE(std::string(name) + (header ? " with header" : ""));
            const std::string all = save(dir.file(name), header, [&](Platform& p, FileDialog& d) {
                commands::saveTableAs(table, p, d);
            });
            const std::string some = save(dir.file(name), header, [&](Platform& p, FileDialog& d) {
                commands::saveRowsAs(table, shown, p, d);
            });
            const std::vector<std::string> lines = linesWithEnds(all);
            // Header (and the fixed-width ruler) first, then one line a call.
            const std::size_t first = lines.size() - kShownCallsFixture.size();
            std::string expected;
            for (std::size_t i = 0; i < first; ++i) expected += lines[i];
            for (const int row : shown) expected += lines[first + static_cast<std::size_t>(row)];
            EXPECT_EQ(some, expected);
        }
    }
}

TEST(CopyCalls, CopyTheLinesOfTheTabSeparatedExport) {
    const CallTable table = tableOf(kShownCallsFixture);
    const std::vector<std::string> lines =
        linesWithEnds(exportTable(table, ExportLayout::TabSeparated, true));
    FakePlatform platform;

    commands::copyCall(table, 2, platform);
    EXPECT_EQ(platform.clipboard, lines[3]);
    EXPECT_EQ(platform.clipboard,
              "12-01-2026 23:59:50\t12-02-2026 00:00:10\t00:00:20\t10.0\t-\t-\t-\t10\t1\t1\t1\t0\t0"
              "\t0\t   0\t0\t0\t0\r\n");

    commands::copyShownCalls(table, std::vector<int>{3, 0}, platform);
    EXPECT_EQ(platform.clipboard, lines[0] + lines[4] + lines[1]);

    commands::copyShownCalls(table, {}, platform);
    EXPECT_EQ(platform.clipboard, lines[0]);
}

}  // namespace
}  // namespace kestal
