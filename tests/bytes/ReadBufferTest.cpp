// A big log's file read from its own pages under a read lease: who opens the
// file to write waits while the pages are the file's, and no longer once the
// bytes are the program's own.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "bytes/ReadBuffer.h"
#include "support/TempDir.h"

namespace kestal {
namespace {

// Whether the file at path can be opened to write without waiting.
bool openForWritingAtOnce(const std::string& path) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    ::close(fd);
    return true;
}

TEST(ReadBufferTest, MapsALeasedFileAndLetsTheLeaseGoOnceCopied) {
    struct Case {
        const char* name;
        std::size_t size;
        off_t from;
        bool writerOpen;  // the file open to write elsewhere meanwhile
        bool mapped;
    };
    const Case cases[] = {
        {"some pages and a bit", 3 * 4096 + 17, 0, false, true},
        {"whole pages", 4 * 4096, 0, false, true},
        {"more than one piece copied", (std::size_t{5} << 20) + 3, 0, false, true},
        {"from a page's border", 3 * 4096, 4096, false, true},
        {"from within a page", 3 * 4096, 10, false, false},
        {"open to write elsewhere", 4096, 0, true, false},
        {"empty", 0, 0, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testing::TempDir dir;
        std::string bytes(c.size, 'x');
        for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>('a' + i % 23);
        const std::string path = dir.write("ppplog.txt", bytes);
        const int writer = c.writerOpen ? ::open(path.c_str(), O_WRONLY | O_CLOEXEC) : -1;
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        ASSERT_GE(fd, 0);
        const std::size_t size = c.size - static_cast<std::size_t>(c.from);
        ReadBuffer buffer;
        ASSERT_EQ(buffer.mapLeased(fd, c.from, size), c.mapped);
        ::close(fd);
        if (writer >= 0) ::close(writer);
        if (!c.mapped) {
            EXPECT_TRUE(openForWritingAtOnce(path));
            continue;
        }
        // Held back while the pages are the file's (the program's own
        // descriptor closed meanwhile).
        EXPECT_FALSE(openForWritingAtOnce(path));
        EXPECT_EQ(errno, EWOULDBLOCK);
        for (std::size_t at = 0; at < size;) {
            const ssize_t got = buffer.readAt(-1, 0, at, 1 << 18);
            ASSERT_GT(got, 0);
            at += static_cast<std::size_t>(got);
            buffer.setSize(at);
        }
        EXPECT_EQ(buffer.readAt(-1, 0, size, 1 << 18), 0);
        MappedBytes mapped = buffer.finish();
        ASSERT_TRUE(mapped.settle());
        EXPECT_TRUE(openForWritingAtOnce(path));
        // The bytes as they were, however the file changes now; and they
        // can grow.
        ASSERT_EQ(::truncate(path.c_str(), 0), 0);
        EXPECT_EQ(std::string(mapped.data(), mapped.size()),
                  bytes.substr(static_cast<std::size_t>(c.from)));
        mapped.append("\r\nmore");
        EXPECT_EQ(std::string(mapped.data(), mapped.size()),
                  bytes.substr(static_cast<std::size_t>(c.from)) + "\r\nmore");
    }
}

TEST(ReadBufferTest, LeaseGoesWithBytesDroppedBeforeTheirCopy) {
    // Dropped before the copy is done (or even begun): the copying stops,
    // and the file can be written at once, though the descriptor it was
    // read through is still open.
    testing::TempDir dir;
    const std::string path = dir.write("ppplog.txt", std::string(std::size_t{64} << 20, 'z'));
    for (int round = 0; round < 5; ++round) {
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        ASSERT_GE(fd, 0);
        {
            ReadBuffer buffer;
            ASSERT_TRUE(buffer.mapLeased(fd, 0, std::size_t{64} << 20));
            buffer.setSize(std::size_t{64} << 20);
            if (round % 2 == 0) MappedBytes dropped = buffer.finish();
        }
        EXPECT_TRUE(openForWritingAtOnce(path)) << round;
        ::close(fd);
    }
}

}  // namespace
}  // namespace kestal
