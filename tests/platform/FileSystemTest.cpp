// The file system calls: what they give when the file is there, and when it
// is not what they were asked for.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "platform/FileSystem.h"
#include "support/TempDir.h"

namespace kestal {
namespace {

using testing::TempDir;
namespace fs = std::filesystem;

TEST(RemoveFile, RemovesTheFileAndSaysWhetherItDid) {
    TempDir dir;
    const std::string path = dir.write("ppplog.tmp", "x");
    EXPECT_TRUE(removeFile(path));
    EXPECT_FALSE(fs::exists(path));
    EXPECT_FALSE(removeFile(path));
    // A link goes, not the file it leads to.
    const std::string target = dir.write("log.txt", "x");
    fs::create_symlink(target, dir.path() / "link.txt");
    EXPECT_TRUE(removeFile(dir.file("link.txt")));
    EXPECT_TRUE(fs::exists(target));
}

TEST(FileStatus, TellsTheFileFromWhatLeadsToIt) {
    TempDir dir;
    const std::string log = dir.write("log.txt", "12345");
    fs::create_symlink(log, dir.path() / "link.txt");
    fs::create_directory(dir.path() / "folder");
    const std::string link = dir.file("link.txt");

    const auto ofLog = pathStatus(log);
    ASSERT_TRUE(ofLog);
    EXPECT_TRUE(ofLog->regular);
    EXPECT_EQ(ofLog->size, 5u);
    const auto throughLink = pathStatus(link);
    ASSERT_TRUE(throughLink);
    EXPECT_TRUE(throughLink->sameFileAs(*ofLog));
    const auto ofLink = nameStatus(link);
    ASSERT_TRUE(ofLink);
    EXPECT_FALSE(ofLink->regular);
    EXPECT_FALSE(ofLink->sameFileAs(*ofLog));
    const auto ofFolder = pathStatus(dir.file("folder"));
    ASSERT_TRUE(ofFolder);
    EXPECT_FALSE(ofFolder->regular);
    EXPECT_TRUE(ofFolder->folder);
    EXPECT_FALSE(ofLog->folder);
    ASSERT_EQ(::mkfifo(dir.file("pipe").c_str(), 0600), 0);
    const auto ofPipe = pathStatus(dir.file("pipe"));
    ASSERT_TRUE(ofPipe);
    EXPECT_TRUE(ofPipe->pipe);
    EXPECT_FALSE(ofPipe->regular || ofPipe->folder || ofLog->pipe);
    EXPECT_FALSE(pathStatus(dir.file("missing.txt")));
    EXPECT_FALSE(nameStatus(dir.file("missing.txt")));
    EXPECT_FALSE(fileStatus(-1));

    const FileDescriptor open = openFile(log);
    ASSERT_TRUE(open);
    const auto ofOpen = fileStatus(open.get());
    ASSERT_TRUE(ofOpen);
    EXPECT_TRUE(ofOpen->sameFileAs(*ofLog));
    EXPECT_EQ(ofOpen->modifiedNanoseconds, ofLog->modifiedNanoseconds);
}

TEST(OpenFile, OpensAsAskedOrNotAtAll) {
    TempDir dir;
    const std::string log = dir.write("log.txt", "x");
    const std::string readOnly = dir.write("read-only.txt", "x");
    ::chmod(readOnly.c_str(), 0444);
    const struct {
        std::string path;
        Access access;
        bool opens;
    } cases[] = {
        {log, Access::Read, true},
        {log, Access::ReadWrite, true},
        {dir.file("missing.txt"), Access::Read, false},
        {dir.path().string(), Access::ReadWrite, false},  // a folder can't be written
    };
    for (const auto& c : cases) {
        for (const Waiting waiting : {Waiting::Wait, Waiting::DontWait}) {
            const FileDescriptor file = openFile(c.path, c.access, waiting);
            EXPECT_EQ(static_cast<bool>(file), c.opens) << c.path;
            if (file) {
                EXPECT_EQ(openForReadingOnly(file.get()), c.access == Access::Read) << c.path;
            }
        }
    }
    const FileDescriptor reading = openFile(readOnly);
    EXPECT_TRUE(reading && openForReadingOnly(reading.get()));
}

TEST(CreateNewFile, NeverTakesANameInUse) {
    TempDir dir;
    const std::string victim = dir.write("victim.txt", "precious");
    fs::create_symlink(victim, dir.path() / "link.tmp");
    fs::create_symlink(dir.file("nowhere.txt"), dir.path() / "dangling.tmp");
    for (const char* name : {"victim.txt", "link.tmp", "dangling.tmp"})
        EXPECT_FALSE(createNewFile(dir.file(name))) << name;
    EXPECT_EQ(testing::readBytes(victim), "precious");
    EXPECT_FALSE(fs::exists(dir.file("nowhere.txt")));

    const FileDescriptor fresh = createNewFile(dir.file("ppplog.tmp"));
    ASSERT_TRUE(fresh);
    EXPECT_FALSE(openForReadingOnly(fresh.get()));
    EXPECT_EQ(pathStatus(dir.file("ppplog.tmp"))->size, 0u);
}

TEST(ReadSome, ReadsFromWhereTheDescriptorStandsOrAnOffset) {
    TempDir dir;
    const FileDescriptor file = openFile(dir.write("log.txt", "0123456789"));
    ASSERT_TRUE(file);
    char bytes[16] = {};
    EXPECT_EQ(readSome(file.get(), bytes, 4), 4);
    EXPECT_EQ(std::string(bytes, 4), "0123");
    EXPECT_EQ(positionOf(file.get()), 4);
    // At an offset, the descriptor doesn't move.
    EXPECT_EQ(readSome(file.get(), bytes, 16, 7), 3);
    EXPECT_EQ(std::string(bytes, 3), "789");
    EXPECT_EQ(positionOf(file.get()), 4);
    ASSERT_TRUE(moveTo(file.get(), 8));
    EXPECT_EQ(readSome(file.get(), bytes, 16), 2);
    EXPECT_EQ(readSome(file.get(), bytes, 16), 0);
    EXPECT_EQ(readSome(-1, bytes, 16), -1);
    EXPECT_FALSE(moveTo(-1, 0));
    EXPECT_EQ(positionOf(-1), -1);
}

}  // namespace
}  // namespace kestal
