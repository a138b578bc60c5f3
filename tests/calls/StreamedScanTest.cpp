// The streamed walk against the whole-file walk: the same lines, the same
// sizes for the size check and the same call rows, for every fixture, for
// every prefix of a log with every kind of line end, and for a log that comes
// through a pipe a few bytes at a time.
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "calls/CallScan.h"
#include "calls/CallStream.h"
#include "calls/CallStreamSideBySide.h"
#include "calls/LineMatcher.h"
#include "calls/LineStream.h"
#include "support/LogTestHelpers.h"
#include "support/TempDir.h"

namespace kestal::testing {
namespace {

// Every log kept for the tests, and the sample log.
std::vector<std::string> fixtures() {
    std::vector<std::string> paths;
    for (const auto& entry : std::filesystem::directory_iterator(KESTAL_TEST_DATA "/log"))
        paths.push_back(entry.path().string());
    std::sort(paths.begin(), paths.end());
    paths.push_back(KESTAL_SOURCE_DIR "/tests/printing/two-calls-ppplog.txt");
    paths.push_back(KESTAL_SOURCE_DIR "/examples/windows/ppplog.txt");
    return paths;
}

const std::string kSampleLog = KESTAL_SOURCE_DIR "/examples/windows/ppplog.txt";

// An open descriptor that reads bytes from their start.
class BytesFile {
public:
    explicit BytesFile(const std::string& bytes) : fd_(::memfd_create("log", MFD_CLOEXEC)) {
        EXPECT_GE(fd_, 0);
        EXPECT_EQ(::write(fd_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
        ::lseek(fd_, 0, SEEK_SET);
    }
    ~BytesFile() { ::close(fd_); }
    int fd() const { return fd_; }

private:
    int fd_;
};

// What a walk makes of a log: its lines, the sizes for the size check, and
// its call table with the corrupt-call warnings.
struct Walk {
    std::vector<std::string> lines;
    std::uint64_t joinedLength = 0;
    std::uint64_t bytesRead = 0;
    std::string table;
    std::vector<std::string> corrupt;
};

Walk wholeFileWalk(const std::string& bytes, bool repair) {
    const LogLines lines = LogLines::fromBytes(repair ? withoutNulBytes(bytes) : bytes);
    Walk walk{linesOf(lines), lines.joinedLength(), bytes.size(), {}, {}};
    CallTable table{kDialUpColumns};
    scanCalls(lines, table, {},
              [&walk](std::string_view start) { walk.corrupt.emplace_back(start); });
    walk.table = dumpTable(table) + dumpValues(table);
    return walk;
}

LineStream::Options streamOptions(bool repair, std::size_t piece) {
    LineStream::Options options;
    options.dropNulBytes = repair;
    options.piece = piece;
    return options;
}

// The rows a sink receives, placed as the scan places them in a table.
Walk streamedRows(int fd, bool repair, std::size_t piece) {
    Walk walk;
    LineStream lines(fd, "log", streamOptions(repair, piece));
    CallTable table{kDialUpColumns};
    streamCalls(lines, {}, [&](const CallRow& row) {
        if (row.corrupt) walk.corrupt.emplace_back(row.cells[0]);
        table.addCall(row.built());
    });
    walk.table = dumpTable(table) + dumpValues(table);
    walk.joinedLength = lines.joinedLength();
    walk.bytesRead = lines.bytesRead();
    return walk;
}

std::vector<std::string> streamedLines(int fd, bool repair, std::size_t piece) {
    LineStream lines(fd, "log", streamOptions(repair, piece));
    std::vector<std::string> result;
    std::string_view line;
    while (lines.next(line)) result.emplace_back(line);
    return result;
}

// The lines of the batches, each with the texts matchLine finds in it, or
// none when the texts aren't wanted.
std::vector<std::string> batchedLines(int fd, bool repair, std::size_t piece, bool matchTexts) {
    LineStream::Options options = streamOptions(repair, piece);
    options.matchTexts = matchTexts;
    LineStream lines(fd, "log", options);
    std::vector<std::string> result;
    for (auto batch = lines.nextBatch(); !batch.empty(); batch = lines.nextBatch()) {
        for (const LineStream::MatchedLine& line : batch) {
            EXPECT_EQ(line.texts, matchTexts ? linematch::matchLine(line.text) : 0u) << line.text;
            result.emplace_back(line.text);
        }
    }
    return result;
}

void expectSameWalk(const std::string& bytes, bool repair, std::size_t piece) {
    const Walk whole = wholeFileWalk(bytes, repair);
    {
        const BytesFile file(bytes);
        EXPECT_EQ(streamedLines(file.fd(), repair, piece), whole.lines);
    }
    for (const bool matchTexts : {true, false}) {
        const BytesFile file(bytes);
        EXPECT_EQ(batchedLines(file.fd(), repair, piece, matchTexts), whole.lines);
    }
    const BytesFile file(bytes);
    const Walk streamed = streamedRows(file.fd(), repair, piece);
    EXPECT_EQ(streamed.table, whole.table);
    EXPECT_EQ(streamed.corrupt, whole.corrupt);
    EXPECT_EQ(streamed.joinedLength, whole.joinedLength);
    EXPECT_EQ(streamed.bytesRead, whole.bytesRead);
}

// A log with every kind of line end, NUL bytes, calls cut short, a call the
// log ends in and lines too short for their values.
std::string mixedLog() {
    std::string text = crlfText({
        logLine("10:00:00.00", "Remote access driver log opened."),
        logLine("10:00:01.50", "LCP : Layer up."),
        counterLine("10:00:02.00", "Bytes Received", "1234"),
        "Bytes Re",
        logLine("10:00:05.00", "Remote access driver log closed."),
    });
    text += logLine("11:00:00.00", "Remote access driver log opened.") + "\n\r";
    text += logLine("11:00:00.20", "CCP : Layer up") + "\r";
    text += logLine("x1:00:00.00", "Remote access driver log opened.") + "\r\n";
    text += counterLine("11:00:03.00", "CRC Errors", "7") + std::string("\0tail\r\n", 7);
    text += logLine("12:00:00.00", "Remote access driver log opened.") + "\n\n";
    text += logLine("12:00:09.00", "IPCP : Layer up");
    return text;
}

TEST(StreamedScan, FixturesWalkAsTheWholeFile) {
    for (const std::string& path : fixtures()) {
        const std::string bytes = readBytes(path);
        ASSERT_FALSE(bytes.empty()) << path;
        for (const bool repair : {false, true}) {
            for (const std::size_t piece :
                 {std::size_t{1}, std::size_t{7}, std::size_t{128} << 10}) {
                SCOPED_TRACE(path + (repair ? " repaired" : "") + ", pieces of " +
                             std::to_string(piece));
                expectSameWalk(bytes, repair, piece);
            }
        }
    }
}

TEST(StreamedScan, EveryPrefixWalksAsTheWholeFile) {
    // Small pieces for the log of every line end, bigger ones for the
    // longer sample (fewer reads, the same ends of text).
    const struct {
        std::string log;
        std::size_t piece;
    } cases[] = {{mixedLog(), 3}, {readBytes(kSampleLog).substr(0, 2500), 61}};
    for (const auto& c : cases) {
        for (std::size_t size = 0; size <= c.log.size(); ++size) {
            for (const bool repair : {false, true}) {
                SCOPED_TRACE("prefix of " + std::to_string(size) + (repair ? ", repaired" : ""));
                expectSameWalk(c.log.substr(0, size), repair, c.piece);
            }
        }
    }
}

// Sizes of the pieces a writer hands a pipe over in: 1 to 13 bytes.
TEST(StreamedScan, PipeFedInSmallPiecesWalksAsTheWholeFile) {
    const std::string bytes = mixedLog() + readBytes(kSampleLog);
    for (const bool repair : {false, true}) {
        int ends[2];
        ASSERT_EQ(::pipe(ends), 0);
        std::thread writer([&bytes, in = ends[1]] {
            std::size_t at = 0;
            for (std::size_t step = 1; at < bytes.size(); step = step % 13 + 1) {
                const std::size_t count = std::min(step, bytes.size() - at);
                if (::write(in, bytes.data() + at, count) != static_cast<ssize_t>(count)) break;
                at += count;
            }
            ::close(in);
        });
        const Walk streamed = streamedRows(ends[0], repair, 64);
        writer.join();
        ::close(ends[0]);
        const Walk whole = wholeFileWalk(bytes, repair);
        EXPECT_EQ(streamed.table, whole.table);
        EXPECT_EQ(streamed.corrupt, whole.corrupt);
        EXPECT_EQ(streamed.bytesRead, whole.bytesRead);
        EXPECT_EQ(streamed.joinedLength, whole.joinedLength);
    }
}

// The rows two threads hand on, chunk after chunk, from bytes at offset
// from of a file (what stands before it is not the log's).
Walk sideBySideRows(const std::string& bytes, std::size_t chunk, std::size_t from = 0) {
    const BytesFile file(std::string(from, 'x') + bytes);
    ::lseek(file.fd(), static_cast<off_t>(from), SEEK_SET);
    Walk walk;
    CallTable table{kDialUpColumns};
    const StreamedSize sizes = streamCallsSideBySide(
        file.fd(), "log", {},
        [&](const CallRow& row) {
            if (row.corrupt) walk.corrupt.emplace_back(row.cells[0]);
            table.addCall(row.built());
        },
        {}, chunk);
    walk.table = dumpTable(table) + dumpValues(table);
    walk.joinedLength = sizes.joinedLength;
    walk.bytesRead = sizes.bytesRead;
    return walk;
}

void expectSameSideBySide(const std::string& bytes, std::size_t chunk, std::size_t from = 0) {
    const Walk whole = wholeFileWalk(bytes, false);
    const Walk chunked = sideBySideRows(bytes, chunk, from);
    EXPECT_EQ(chunked.table, whole.table);
    EXPECT_EQ(chunked.corrupt, whole.corrupt);
    EXPECT_EQ(chunked.joinedLength, whole.joinedLength);
    EXPECT_EQ(chunked.bytesRead, whole.bytesRead);
}

// Chunk boundaries fall inside lines, between CR and LF, on NUL bytes and
// inside calls, wherever the chunks are cut.
TEST(StreamedScan, ChunksWalkedSideBySideAsTheWholeFile) {
    std::vector<std::string> logs = {mixedLog()};
    for (const std::string& path : fixtures()) logs.push_back(readBytes(path));
    for (const std::string& log : logs) {
        for (const std::size_t chunk : {1, 2, 3, 17, 64, 1000, 1 << 20}) {
            SCOPED_TRACE(log.substr(0, 40) + ", chunks of " + std::to_string(chunk));
            expectSameSideBySide(log, chunk);
        }
    }
    expectSameSideBySide(mixedLog(), 5, 3);
    for (std::size_t size = 0; size <= mixedLog().size(); ++size) {
        SCOPED_TRACE("prefix of " + std::to_string(size));
        expectSameSideBySide(mixedLog().substr(0, size), 7);
    }
}

// The stream promises that the last line it handed out is still there
// after the call that says the text has ended, also when a NUL ends it in
// a later piece.
TEST(StreamedScan, LastLineOutlivesTheEnd) {
    constexpr char kText[] = "first\r\nlast\r\n\0more bytes after the NUL";
    const std::string bytes(kText, sizeof kText - 1);
    const BytesFile file(bytes);
    LineStream lines(file.fd(), "log", streamOptions(false, 3));
    std::string_view line;
    std::string_view last;
    while (lines.next(line)) last = line;
    EXPECT_EQ(last, "last");
    EXPECT_EQ(lines.bytesRead(), bytes.size());
}

}  // namespace
}  // namespace kestal::testing
