#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "platform/Errors.h"
#include "platform/TextFile.h"
#include "support/TempDir.h"

namespace kestal {
namespace {

using testing::readBytes;
using testing::TempDir;
using Errors = TextFileWriter::Errors;

// The text of the CommandError that action throws, or "" when none.
template <typename Action>
std::string failureOf(Action action) {
    try {
        action();
    } catch (const CommandError& e) {
        return e.what();
    }
    return "";
}

TEST(TextFileWriter, WritesLinesWithCrLfAndTheBytesUnchanged) {
    TempDir dir;
    const std::string path = dir.file("out.txt");
    TextFileWriter out;
    out.create(path);
    out.writeLine("first\tline");
    out.write("caf\xE9 ");
    out.write(std::string_view("nul\0byte", 8));
    out.writeLine("");
    out.writeLine("");
    out.close();
    EXPECT_FALSE(out.isOpen());
    EXPECT_EQ(readBytes(path), std::string("first\tline\r\ncaf\xE9 nul\0byte\r\n\r\n", 29));
}

TEST(TextFileWriter, ReplacesAnExistingFile) {
    TempDir dir;
    const std::string path = dir.write("old.txt", "a much longer old content\r\n");
    TextFileWriter out;
    out.create(path);
    out.writeLine("new");
    out.close();
    EXPECT_EQ(readBytes(path), "new\r\n");
}

TEST(TextFileWriter, KeepsOrderAcrossTheBuffer) {
    // Lines that add up to several buffer fills, and one line larger than
    // the buffer, come out whole and in order.
    TempDir dir;
    const std::string path = dir.file("big.txt");
    std::string expected;
    TextFileWriter out;
    out.create(path);
    for (int i = 0; i < 60000; ++i) {
        const std::string line = "line " + std::to_string(i) + std::string(i % 50, 'x');
        out.writeLine(line);
        expected += line + "\r\n";
    }
    const std::string huge(3 << 20, 'h');
    out.writeLine(huge);
    expected += huge + "\r\n";
    out.writeLine("tail");
    expected += "tail\r\n";
    out.close();
    EXPECT_EQ(readBytes(path), expected);
}

TEST(TextFileWriter, DestructorFlushesWhatWasWritten) {
    TempDir dir;
    const std::string path = dir.file("left.txt");
    {
        TextFileWriter out;
        out.create(path);
        out.writeLine("kept");
    }
    EXPECT_EQ(readBytes(path), "kept\r\n");
}

TEST(TextFileWriter, FullDiskFailsAtCloseOrWrite) {
    if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    // A short text stays in the buffer until close; a long one is written at
    // once. Either way the failure is reported, in the writer's wording.
    const std::string shortText = "one line";
    const std::string longText(2 << 20, 'z');
    for (const Errors errors : {Errors::InOut, Errors::Stream}) {
        const std::string expected = errors == Errors::InOut ? "Disk full" : "Stream write error";
        {
            TextFileWriter out(errors);
            out.create("/dev/full");
            out.writeLine(shortText);
            EXPECT_EQ(failureOf([&] { out.close(); }), expected);
            EXPECT_FALSE(out.isOpen());
        }
        {
            TextFileWriter out(errors);
            out.create("/dev/full");
            EXPECT_EQ(failureOf([&] { out.writeLine(longText); }), expected);
            EXPECT_FALSE(out.isOpen());
        }
    }
}

TEST(TextFileWriter, CreateFailuresAreWordedByTheWriter) {
    TempDir dir;
    const std::string missingFolder = dir.file("no such folder") + "/out.txt";
    const std::string directory = dir.path().string();
    const std::string underAFile = dir.write("plain", "x") + "/out.txt";
    const struct {
        std::string path;
        Errors errors;
        std::string expected;
    } cases[] = {
        {missingFolder, Errors::InOut, "Invalid filename"},
        {missingFolder, Errors::Stream, "Cannot create file " + missingFolder},
        {directory, Errors::InOut, "File access denied"},
        {directory, Errors::Stream, "Cannot create file " + directory},
        {underAFile, Errors::InOut, "Invalid filename"},
        {"", Errors::InOut, "Invalid filename"},
    };
    for (const auto& c : cases) {
        TextFileWriter out(c.errors);
        EXPECT_EQ(failureOf([&] { out.create(c.path); }), c.expected) << c.path;
        EXPECT_FALSE(out.isOpen());
    }
    EXPECT_FALSE(std::filesystem::exists(missingFolder));
}

TEST(TextFileWriter, AFifoWithoutReaderFailsInsteadOfHanging) {
    TempDir dir;
    const std::string fifo = dir.file("pipe");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    TextFileWriter out(Errors::Stream);
    EXPECT_EQ(failureOf([&] { out.create(fifo); }), "Cannot create file " + fifo);
}

TEST(TextFileWriter, WritingWithoutAFileFails) {
    TextFileWriter inOut(Errors::InOut);
    EXPECT_EQ(failureOf([&] { inOut.writeLine("x"); }), "I/O error 103");
    TextFileWriter stream(Errors::Stream);
    EXPECT_EQ(failureOf([&] { stream.writeLine("x"); }), "Stream write error");
}

}  // namespace
}  // namespace kestal
