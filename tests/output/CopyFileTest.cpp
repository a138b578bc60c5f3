// The Copy file: the shown log's lines, each ended by CR LF.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "output/Printouts.h"
#include "platform/Errors.h"
#include "support/TempDir.h"

namespace kestal {
namespace {

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

}  // namespace
}  // namespace kestal
