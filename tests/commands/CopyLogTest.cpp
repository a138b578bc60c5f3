// File > Copy: its dialog, and failures ending in the general report.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "commands/CopyLog.h"
#include "commands/Messages.h"
#include "platform/Errors.h"
#include "support/FakePlatform.h"
#include "support/TempDir.h"

namespace kestal {
namespace {

using testing::FakePlatform;
using testing::readBytes;
using testing::TempDir;

TEST(CopyLog, AsksForAFreshNameWithItsOwnFilter) {
    FakePlatform platform;
    TempDir dir;
    const std::string path = dir.file("chosen.txt");
    FileDialog saveDialog{FileDialog::Kind::Save,
                          "Text (*.txt)|*.txt|Text & Tabs (*.tsv)|*.tsv",
                          "txt",
                          "",
                          "/earlier/export.tsv",
                          true,
                          true};
    platform.fileDialogAnswers.push_back(path);

    commands::copyLog(LogLines::fromBytes("one\ntwo"), platform, saveDialog);

    ASSERT_EQ(platform.fileDialogsShown.size(), 1u);
    EXPECT_EQ(platform.fileDialogsShown[0].fileName, "");
    EXPECT_EQ(platform.fileDialogsShown[0].filter, "Text files (*.txt)|*.TXT");
    EXPECT_EQ(saveDialog.filter, "Text files (*.txt)|*.TXT");  // kept until Save Table As
    EXPECT_EQ(readBytes(path), "one\r\ntwo\r\n");
}

TEST(CopyLog, CancelWritesNothing) {
    FakePlatform platform;
    TempDir dir;
    FileDialog saveDialog{FileDialog::Kind::Save, "", "txt", "", "", true, true};
    platform.fileDialogAnswers.push_back(std::nullopt);
    commands::copyLog(LogLines::fromBytes("one\n"), platform, saveDialog);
    EXPECT_EQ(platform.fileDialogsShown.size(), 1u);
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
    EXPECT_TRUE(platform.dialogs.empty());
}

TEST(CopyLog, FailureEndsTheCommandWithTheGeneralReport) {
    FakePlatform platform;
    TempDir dir;
    const std::string path = dir.file("no/such/folder/copy.txt");
    FileDialog saveDialog{FileDialog::Kind::Save, "", "txt", "", "", true, true};
    platform.fileDialogAnswers.push_back(path);
    runCommand(platform,
               [&] { commands::copyLog(LogLines::fromBytes("one\n"), platform, saveDialog); });
    EXPECT_EQ(platform.dialogTexts(), std::vector<std::string>{"Cannot create file " + path + "."});
}

}  // namespace
}  // namespace kestal
