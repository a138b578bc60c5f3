#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "lines/LogLines.h"
#include "platform/Errors.h"
#include "support/LogTestHelpers.h"
#include "support/TempDir.h"

namespace kestal {
namespace {

using testing::linesOf;

struct ReadingCase {
    const char* name;
    std::string bytes;
    std::vector<std::string> lines;
};

TEST(LogLinesTest, CutsTextIntoLinesByTheReadingRules) {
    using namespace std::string_literals;
    const std::vector<ReadingCase> cases = {
        {"empty text", "", {}},
        {"leading NUL", "\0abc\r\n"s, {}},
        {"CR LF is one line end", "a\r\nb\r\n", {"a", "b"}},
        {"LF alone", "a\nb\n", {"a", "b"}},
        {"CR alone", "a\rb\r", {"a", "b"}},
        {"LF CR is two line ends", "a\n\rb", {"a", "", "b"}},
        {"CR CR LF", "a\r\r\nb", {"a", "", "b"}},
        {"no line end at the end", "a\r\nb", {"a", "b"}},
        {"lone line end", "\r\n", {""}},
        {"empty lines kept", "\r\n\r\n\n", {"", "", ""}},
        {"NUL ends its line and the text", "ab\r\ncd\0ef\r\ngh\r\n"s, {"ab", "cd"}},
        {"NUL just after a line end", "ab\r\n\0cd"s, {"ab"}},
        {"NUL between CR and LF", "ab\r\0\ncd"s, {"ab"}},
        {"mixed ends", "a\rb\nc\r\nd\n\re", {"a", "b", "c", "d", "", "e"}},
        {"bytes above 127 kept", "\xe9t\xe9\r\n", {"\xe9t\xe9"}},
    };
    for (const ReadingCase& c : cases) {
        const LogLines lines = LogLines::fromBytes(c.bytes);
        EXPECT_EQ(linesOf(lines), c.lines) << c.name;
        EXPECT_EQ(lines.empty(), c.lines.empty()) << c.name;
    }
}

// The reading rules, one byte at a time, for comparison.
std::vector<std::string> referenceLines(const std::string& bytes) {
    std::vector<std::string> lines;
    std::string line;
    bool open = false;  // text since the last line end
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == '\0') break;
        if (c == '\r' || c == '\n') {
            lines.push_back(line);
            line.clear();
            open = false;
            if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
        } else {
            line += c;
            open = true;
        }
    }
    if (open) lines.push_back(line);
    return lines;
}

TEST(LogLinesTest, AgreesWithTheRulesByteByByte) {
    // Line ends and NUL bytes at every place within and across the blocks
    // that the reader takes in at once.
    std::mt19937 random(7);
    const char alphabet[] = {'a', 'b', '\r', '\n', '\0'};
    for (int round = 0; round < 20000; ++round) {
        std::string bytes(random() % 70, 'x');
        for (char& c : bytes) {
            const unsigned pick = random() % 20;
            c = pick < 5 ? alphabet[pick] : 'x';
            if (pick == 4 && random() % 4 != 0) c = 'y';  // NUL bytes rarer
        }
        const LogLines lines = LogLines::fromBytes(bytes);
        const std::vector<std::string> expected = referenceLines(bytes);
        ASSERT_EQ(linesOf(lines), expected) << round;
        std::uint64_t joined = 0;
        for (const std::string& line : expected) joined += line.size() + 2;
        ASSERT_EQ(lines.joinedLength(), joined) << round;
    }
}

// Bytes of a log, size bytes long, with a CR at the end of every 4 KiB and
// an LF at the start of the next, so that CR LF pairs stand across the
// pieces a file is read in, whatever their size in pages.
std::string logAcrossPieces(std::size_t size, unsigned seed) {
    std::mt19937 random(seed);
    const char alphabet[] = {'a', 'b', 'c', ' ', '\r', '\n'};
    std::string bytes(size, 'x');
    for (char& c : bytes) c = alphabet[random() % 6];
    for (std::size_t at = 4096; at < size; at += 4096) {
        bytes[at - 1] = '\r';
        bytes[at] = '\n';
    }
    return bytes;
}

TEST(LogLinesTest, FileReadInPiecesGivesTheLinesOfItsWholeText) {
    using namespace std::string_literals;
    testing::TempDir dir;
    const std::string big = logAcrossPieces(3 * 1024 * 1024 + 5, 3);
    struct Case {
        const char* name;
        std::string bytes;
    };
    const std::vector<Case> cases = {
        {"empty file", ""},
        {"one line without a line end", "abc"},
        {"CR LF across many pieces", big},
        {"ends with a CR", big.substr(0, 2 * 1024 * 1024 - 1) + "\r"},
        {"NUL far into the file", big.substr(0, 1024 * 1024) + "\0"s + big.substr(1024 * 1024)},
        {"big enough for two readers", logAcrossPieces(17 * 1024 * 1024 + 3, 4)},
    };
    for (const Case& c : cases) {
        const std::string path = dir.write("log.txt", c.bytes);
        LogLines lines;
        readLogFile(path, lines);
        const LogLines whole = LogLines::fromBytes(c.bytes);
        EXPECT_EQ(linesOf(lines), referenceLines(c.bytes)) << c.name;
        EXPECT_EQ(lines.byteCount(), c.bytes.size()) << c.name;
        EXPECT_EQ(lines.joinedLength(), whole.joinedLength()) << c.name;
    }
}

// The bytes as a file in memory, standing at offset.
// A file in memory holding bytes, open for reading only from offset on, as
// the program reads a log: with two readers, from its start it is read from
// its own pages under a read lease, from its second byte copied.
int memoryFile(const std::string& bytes, off_t offset) {
    const int written = ::memfd_create("log", MFD_CLOEXEC);
    if (written < 0 ||
        ::write(written, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()))
        throw std::runtime_error("memory file");
    const std::string self = "/proc/self/fd/" + std::to_string(written);
    const int fd = ::open(self.c_str(), O_RDONLY | O_CLOEXEC);
    ::close(written);
    if (fd < 0 || ::lseek(fd, offset, SEEK_SET) != offset) throw std::runtime_error("memory file");
    return fd;
}

TEST(LogLinesTest, TwoReadersCutTheSameLinesWhereverTheSplitFalls) {
    using namespace std::string_literals;
    // CR LF pairs, lone line ends and NUL bytes on either side of every
    // split, in files read from their start and from their second byte.
    std::vector<std::string> texts = {
        "ab\r\ncd\r\nef", "a\r\n\nb\r",        "\r\n\r\n\r\n",
        "abcdef",         "ab\ncd\0ef\r\ngh"s, "\0abc\r\n"s,
        "a\r\r\n\n\rb",   "abc\r\n\0d\r\n"s,   "x\r\n" + std::string(40, 'y') + "\0z\n"s,
    };
    std::mt19937 random(13);
    const char alphabet[] = {'a', '\r', '\n', '\0', 'b', 'c'};
    for (int round = 0; round < 200; ++round) {
        std::string bytes(1 + random() % 40, 'x');
        for (char& c : bytes) c = alphabet[random() % 6];
        if (random() % 2 != 0) std::replace(bytes.begin(), bytes.end(), '\0', 'z');
        texts.push_back(bytes);
    }
    for (const std::string& bytes : texts) {
        for (const off_t offset : {0, 1}) {
            const std::string rest = bytes.substr(static_cast<std::size_t>(offset));
            const LogLines expected = LogLines::fromBytes(rest);
            // An index keeping its entries' distances in two bytes, as
            // always, or in so few bits that its groups are held whole
            // after a line or a few, as logs of long lines do.
            for (const unsigned narrowBits : {16u, 4u, 2u}) {
                for (std::size_t split = 0; split <= rest.size(); ++split) {
                    const int fd = memoryFile(bytes, offset);
                    LogLines lines(narrowBits);
                    lines.assignFrom(fd, "memory", split);
                    ::close(fd);
                    ASSERT_EQ(linesOf(lines), linesOf(expected))
                        << ::testing::PrintToString(bytes) << " from " << offset << " split "
                        << split << " narrow bits " << narrowBits;
                    ASSERT_EQ(lines.joinedLength(), expected.joinedLength());
                    ASSERT_EQ(lines.byteCount(), rest.size());
                    ASSERT_EQ(lines.endsAtNul(), expected.endsAtNul());
                }
            }
        }
    }
}

TEST(LogLinesTest, LinesStayAsReadWhenTheFileChangesAfterwards) {
    // Copy onto the log, Clear or a rotation rewrite the file while its
    // lines are shown, right after they were read: the lines are a copy of
    // their own, read into one (one reader) or taken from the file's pages
    // under a lease that holds the writer back until they are (two).
    testing::TempDir dir;
    const std::string bytes = logAcrossPieces(600000, 5);
    for (const std::size_t split : {std::size_t{0}, bytes.size() / 2}) {
        SCOPED_TRACE(split);
        const std::string path = dir.write("ppplog.txt", bytes);
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        ASSERT_GE(fd, 0);
        LogLines lines;
        lines.assignFrom(fd, path, split);
        ::close(fd);
        dir.write("ppplog.txt", "short\r\n");
        ASSERT_EQ(::truncate(path.c_str(), 0), 0);
        EXPECT_EQ(linesOf(lines), referenceLines(bytes));
        EXPECT_EQ(lines.byteCount(), bytes.size());
        EXPECT_TRUE(lines.settle());
        // Lines that follow join them as read.
        lines.append("\r\nmore");
        EXPECT_EQ(linesOf(lines), referenceLines(bytes + "\r\nmore"));
    }
}

TEST(LogLinesTest, PipeLongerThanItsFirstBufferIsReadToTheEnd) {
    // A pipe tells no size: the buffer grows while the bytes come in.
    const std::string bytes = logAcrossPieces(2 * 1024 * 1024 + 77, 9);
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(ends[0]);
        std::size_t at = 0;
        while (at < bytes.size()) {
            const ssize_t w = ::write(ends[1], bytes.data() + at, bytes.size() - at);
            if (w <= 0) ::_exit(1);
            at += static_cast<std::size_t>(w);
        }
        ::_exit(0);
    }
    ::close(ends[1]);
    LogLines lines;
    lines.assignFrom(ends[0], "pipe");
    ::close(ends[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(lines.byteCount(), bytes.size());
    EXPECT_EQ(linesOf(lines), referenceLines(bytes));
}

TEST(LogLinesTest, CutsTheSameWhateverPiecesTheFileComesIn) {
    // A packet socket hands each write to one read: the lines are cut
    // while pieces of 1 to 4 bytes come in, CR LF pairs split among them.
    std::mt19937 random(11);
    const char alphabet[] = {'a', '\r', '\n', '\0', 'b'};
    for (int round = 0; round < 3000; ++round) {
        std::string bytes(random() % 40, 'x');
        for (char& c : bytes) c = alphabet[random() % 5];
        if (random() % 3 != 0) std::replace(bytes.begin(), bytes.end(), '\0', 'z');
        int ends[2];
        ASSERT_EQ(::socketpair(AF_UNIX, SOCK_SEQPACKET, 0, ends), 0);
        for (std::size_t at = 0; at < bytes.size();) {
            const std::size_t piece = std::min<std::size_t>(1 + random() % 4, bytes.size() - at);
            ASSERT_EQ(::write(ends[1], bytes.data() + at, piece), static_cast<ssize_t>(piece));
            at += piece;
        }
        ::close(ends[1]);
        LogLines lines;
        lines.assignFrom(ends[0], "socket");
        ::close(ends[0]);
        ASSERT_EQ(linesOf(lines), referenceLines(bytes)) << round;
    }
}

TEST(LogLinesTest, JoinedLengthCountsTwoBytesPerLineEnd) {
    using namespace std::string_literals;
    struct Case {
        std::string bytes;
        std::uint64_t joined;
    };
    const std::vector<Case> cases = {
        {"", 0},
        {"abc\r\n", 5},
        {"abc", 5},          // no line end: longer than the file
        {"a\nb\n", 6},       // LF alone: longer than the file
        {"ab\0\r\n"s, 4},    // NUL: shorter than the file
        {"a\nb\0\r\n"s, 6},  // a lone LF and a NUL cancel out
    };
    for (const Case& c : cases)
        EXPECT_EQ(LogLines::fromBytes(c.bytes).joinedLength(), c.joined) << c.bytes;
}

TEST(LogLinesTest, AssignReplacesAndClearEmpties) {
    LogLines lines = LogLines::fromBytes("one\r\ntwo\r\n");
    lines.assign("three\r\n");
    EXPECT_EQ(linesOf(lines), std::vector<std::string>{"three"});
    lines.clear();
    EXPECT_TRUE(lines.empty());
    EXPECT_EQ(lines.joinedLength(), 0u);
}

TEST(LogLinesTest, MovedLinesKeepTheirBytes) {
    // Short text lies inside the string itself and moves with it.
    LogLines shortText = LogLines::fromBytes("ab\r\ncd");
    LogLines moved(std::move(shortText));
    EXPECT_EQ(linesOf(moved), (std::vector<std::string>{"ab", "cd"}));

    testing::TempDir dir;
    LogLines fromFile;
    readLogFile(dir.write("log.txt", "one\r\ntwo\r\n"), fromFile);
    moved = std::move(fromFile);
    EXPECT_EQ(linesOf(moved), (std::vector<std::string>{"one", "two"}));
    LogLines shown = LogLines::fromBytes("x\r\n");
    shown = std::move(moved);
    EXPECT_EQ(linesOf(shown), (std::vector<std::string>{"one", "two"}));
    EXPECT_EQ(shown.byteCount(), 10u);
}

TEST(LogLinesTest, LongLogKeepsEveryLine) {
    std::string bytes;
    for (int i = 0; i < 100000; ++i) bytes += "line " + std::to_string(i) + (i % 3 ? "\r\n" : "\n");
    const LogLines lines = LogLines::fromBytes(bytes);
    ASSERT_EQ(lines.size(), 100000u);
    EXPECT_EQ(lines[0], "line 0");
    EXPECT_EQ(lines[99999], "line 99999");
}

TEST(LogLinesTest, ReadsFilesWholeAndReportsUnreadableOnes) {
    using namespace std::string_literals;
    testing::TempDir dir;
    const std::string bytes = "a\r\nb\0c"s + std::string(200000, 'x');
    const std::string path = dir.write("log.txt", bytes);
    EXPECT_EQ(readFileBytes(path), bytes);

    LogLines lines;
    readLogFile(path, lines);
    EXPECT_EQ(linesOf(lines), (std::vector<std::string>{"a", "b"}));

    const std::string missing = dir.file("missing.txt");
    try {
        readFileBytes(missing);
        FAIL() << "a missing file was read";
    } catch (const CommandError& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot open file " + missing);
    }
    // A folder opens but can't be read.
    EXPECT_THROW(readFileBytes(dir.path().string()), CommandError);
}

TEST(LogLinesTest, ReadsUntilTheEndRatherThanAMeasuredSize) {
    // A pipe has no size at all: everything written is read to the end.
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    const std::string bytes(100000, 'p');
    ASSERT_EQ(::write(ends[1], bytes.data(), 60000), 60000);
    // The writer runs out of pipe room; finish writing from a child.
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(ends[0]);
        const ssize_t w = ::write(ends[1], bytes.data() + 60000, 40000);
        ::_exit(w == 40000 ? 0 : 1);
    }
    ::close(ends[1]);
    EXPECT_EQ(readDescriptorBytes(ends[0], "pipe"), bytes);
    ::close(ends[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
}

TEST(LogLinesTest, WithoutNulBytesKeepsTheRestInOrder) {
    using namespace std::string_literals;
    EXPECT_EQ(withoutNulBytes("\0a\0\0b\r\nc\0"s), "ab\r\nc");
    EXPECT_EQ(withoutNulBytes(""), "");
    EXPECT_EQ(withoutNulBytes("plain"), "plain");
}

}  // namespace
}  // namespace kestal
