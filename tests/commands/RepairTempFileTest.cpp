// The repair reads its temporary file back through the descriptor that wrote
// it: a file put in its place meanwhile is neither shown nor removed.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "commands/LoadLog.h"
#include "support/FakePlatform.h"
#include "support/LogTestHelpers.h"
#include "support/RecordingView.h"
#include "support/TempDir.h"

namespace kestal {
namespace {

using testing::FakePlatform;
using testing::linesOf;
using testing::logLine;
using testing::readBytes;
using testing::RecordingView;
using testing::TempDir;

namespace fs = std::filesystem;

std::vector<std::string> callLines(std::string_view start, std::string_view end) {
    return {logLine(start, "Remote access driver log opened."),
            logLine(end, "Remote access driver log closed.")};
}

TEST(RepairTempFile, FileSwappedInBeforeTheReadBackIsNeitherShownNorRemoved) {
    struct Case {
        const char* name;
        // Puts another file at temp's name; returns the path whose bytes
        // must stay as they were.
        std::function<std::string(const TempDir&, const std::string& temp)> swap;
    };
    const std::string foreign = testing::crlfText(callLines("23:00:00.00", "23:59:00.00"));
    const std::vector<Case> cases = {
        {"removed",
         [](const TempDir&, const std::string& temp) {
             ::unlink(temp.c_str());
             return std::string();
         }},
        {"replaced by another file",
         [&](const TempDir& dir, const std::string& temp) {
             ::unlink(temp.c_str());
             return dir.write("ppplog.tmp", foreign);
         }},
        {"renamed away, another file in its place",
         [&](const TempDir& dir, const std::string& temp) {
             std::rename(temp.c_str(), dir.file("moved.tmp").c_str());
             return dir.write("ppplog.tmp", foreign);
         }},
        {"replaced by a link to another file",
         [&](const TempDir& dir, const std::string& temp) {
             ::unlink(temp.c_str());
             fs::create_symlink(dir.write("victim.txt", foreign), temp);
             return temp;
         }},
    };
    for (const Case& c : cases) {
        TempDir dir;
        FakePlatform platform;
        RecordingView view;
        LogState state;
        const std::vector<std::string> first = callLines("09:00:00.00", "09:00:10.00");
        const std::vector<std::string> second = callLines("10:00:00.00", "10:00:20.00");
        state.logPath = dir.write("log.txt", testing::crlfText(first) + std::string(3000, '\0') +
                                                 testing::crlfText(second));
        const std::string temp = dir.file("ppplog.tmp");
        std::string planted;
        // The whole log is written before the first pump, and read back
        // after the last.
        platform.onProcessMessages = [&] {
            if (platform.pumpCount == 1) planted = c.swap(dir, temp);
        };
        platform.dialogAnswers = {DialogResult::Yes};
        commands::loadLog(state, platform, view);

        EXPECT_EQ(platform.dialogTexts(),
                  std::vector<std::string>{std::string(kAttemptLoadQuestion)})
            << c.name;
        EXPECT_EQ(linesOf(state.lines),
                  (std::vector<std::string>{first[0], first[1], second[0], second[1]}))
            << c.name;
        EXPECT_EQ(state.table.rowCount(), 2) << c.name;
        if (!planted.empty()) {
            EXPECT_TRUE(fs::exists(fs::symlink_status(planted))) << c.name;
            EXPECT_EQ(readBytes(planted), foreign) << c.name;
        }
    }
}

}  // namespace
}  // namespace kestal
