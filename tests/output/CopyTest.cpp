// File > Copy: the shown log's lines to a file, each ended by CR LF.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "output/Printouts.h"
#include "platform/Errors.h"
#include "support/FakePlatform.h"
#include "support/TempDir.h"

namespace kestal {
namespace {

using testing::FakePlatform;
using testing::readBytes;
using testing::TempDir;

struct CopyCase {
    const char* name;
    std::string logBytes;  // the file as read into LogLines
    std::string copy;      // the copy file expected
};

void PrintTo(const CopyCase& c, std::ostream* os) { *os << c.name; }

class CopyFile : public ::testing::TestWithParam<CopyCase> {};

TEST_P(CopyFile, WritesTheLinesWithCrLf) {
    const CopyCase& c = GetParam();
    TempDir dir;
    const std::string path = dir.file("copy.txt");
    writeCopyFile(LogLines::fromBytes(c.logBytes), path);
    EXPECT_EQ(readBytes(path), c.copy);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, CopyFile,
    ::testing::Values(
        CopyCase{"CrLfStays", "a\r\nb\r\n", "a\r\nb\r\n"},
        CopyCase{"LoneLineFeeds", "a\nb\n", "a\r\nb\r\n"},
        CopyCase{"LoneCarriageReturns", "a\rb", "a\r\nb\r\n"},
        CopyCase{"LastLineGetsItsLineEnd", "a\nb", "a\r\nb\r\n"},
        CopyCase{"EmptyLinesKept", "a\n\n\nb\n", "a\r\n\r\n\r\nb\r\n"},
        CopyCase{"EmptyLog", "", ""},
        CopyCase{"HighBytesUnchanged", "\xe9t\xe9\n\x80\xff\t\n", "\xe9t\xe9\r\n\x80\xff\t\r\n"},
        // The text was read only up to its first NUL byte.
        CopyCase{"OnlyUpToTheFirstNul", std::string("ab\ncd\0ef\ngh\n", 12), "ab\r\ncd\r\n"}),
    [](const ::testing::TestParamInfo<CopyCase>& info) { return std::string(info.param.name); });

TEST(CopyFile, RepairedLogIsCopiedWithoutNulBytes) {
    const std::string damaged("line one\r\n\0\0\0line two\r\n", 23);
    const LogLines lines = LogLines::fromBytes(withoutNulBytes(damaged));
    TempDir dir;
    const std::string path = dir.file("copy.txt");
    writeCopyFile(lines, path);
    const std::string copy = readBytes(path);
    EXPECT_EQ(copy, "line one\r\nline two\r\n");
    EXPECT_EQ(copy.find('\0'), std::string::npos);
}

TEST(CopyFile, ReplacesAnExistingFile) {
    TempDir dir;
    const std::string path = dir.write("copy.txt", "an older and much longer content\r\n");
    writeCopyFile(LogLines::fromBytes("new\n"), path);
    EXPECT_EQ(readBytes(path), "new\r\n");
}

TEST(CopyFile, UncreatableFileIsReportedByName) {
    TempDir dir;
    std::filesystem::create_directory(dir.path() / "folder.txt");
    const std::string paths[] = {dir.file("folder.txt"), dir.file("missing/copy.txt")};
    for (const std::string& path : paths) {
        SCOPED_TRACE(path);
        try {
            writeCopyFile(LogLines::fromBytes("a\n"), path);
            ADD_FAILURE() << "no error";
        } catch (const CommandError& e) {
            EXPECT_EQ(std::string(e.what()), "Cannot create file " + path);
        }
    }
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "missing"));
}

TEST(CopyFile, FullDiskIsAStreamWriteError) {
    if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full on this system";
    try {
        writeCopyFile(LogLines::fromBytes("some text\n"), "/dev/full");
        ADD_FAILURE() << "no error";
    } catch (const CommandError& e) {
        EXPECT_EQ(std::string(e.what()), "Stream write error");
    }
}

TEST(Copy1Click, AsksForAFreshNameWithItsOwnFilter) {
    FakePlatform platform;
    TempDir dir;
    const std::string path = dir.file("chosen.txt");
    FileDialog SaveDialog1{FileDialog::Kind::Save,
                           "Text (*.txt)|*.txt|Text & Tabs (*.tsv)|*.tsv",
                           "txt",
                           "",
                           "/earlier/export.tsv",
                           true,
                           true};
    platform.fileDialogAnswers.push_back(path);

    Copy1Click(LogLines::fromBytes("one\ntwo"), platform, SaveDialog1);

    ASSERT_EQ(platform.fileDialogsShown.size(), 1u);
    EXPECT_EQ(platform.fileDialogsShown[0].fileName, "");
    EXPECT_EQ(platform.fileDialogsShown[0].filter, "Text files (*.txt)|*.TXT");
    EXPECT_EQ(SaveDialog1.filter, "Text files (*.txt)|*.TXT");  // kept until Save Table As
    EXPECT_EQ(readBytes(path), "one\r\ntwo\r\n");
}

TEST(Copy1Click, CancelWritesNothing) {
    FakePlatform platform;
    TempDir dir;
    FileDialog SaveDialog1{FileDialog::Kind::Save, "", "txt", "", "", true, true};
    platform.fileDialogAnswers.push_back(std::nullopt);
    Copy1Click(LogLines::fromBytes("one\n"), platform, SaveDialog1);
    EXPECT_EQ(platform.fileDialogsShown.size(), 1u);
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
    EXPECT_TRUE(platform.dialogs.empty());
}

TEST(Copy1Click, FailureEndsTheCommandWithTheGeneralReport) {
    FakePlatform platform;
    TempDir dir;
    const std::string path = dir.file("no/such/folder/copy.txt");
    FileDialog SaveDialog1{FileDialog::Kind::Save, "", "txt", "", "", true, true};
    platform.fileDialogAnswers.push_back(path);
    runCommand(platform, [&] { Copy1Click(LogLines::fromBytes("one\n"), platform, SaveDialog1); });
    EXPECT_EQ(platform.dialogTexts(), std::vector<std::string>{"Cannot create file " + path + "."});
}

}  // namespace
}  // namespace kestal
