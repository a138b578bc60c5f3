// The call scan done while the log is read against the scan of the lines
// read whole: the same rows and the same corrupt calls in the same order,
// read by one thread or by two split anywhere, for every fixture, for logs
// cut at every byte, for a pipe fed a few bytes at a time and for logs long
// enough for two threads of their own accord.
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "log/CallScanWhileRead.h"
#include "log/ScanHelpers.h"
#include "support/TempDir.h"

namespace kestal::testing {
namespace {

// What a scan makes of a log: its lines, call rows and corrupt calls.
struct Scanned {
    std::vector<std::string> lines;
    std::string table;
    std::vector<std::string> corrupt;  // start texts, in the order warned
};

Scanned scanOfWholeLines(const std::string& bytes) {
    const LogLines lines = LogLines::fromBytes(bytes);
    Scanned scanned{linesOf(lines), {}, {}};
    CallTable table;
    scanCalls(lines, table, {},
              [&scanned](std::string_view start) { scanned.corrupt.emplace_back(start); });
    scanned.table = dumpTable(table);
    return scanned;
}

Scanned finishedScan(const LogLines& lines, CallScanWhileRead& scan) {
    Scanned scanned{linesOf(lines), {}, {}};
    CallTable table;
    std::vector<int> corruptRows;
    scan.finish(lines, table, corruptRows);
    EXPECT_EQ(table.currentRow(), 1);
    EXPECT_EQ(table.currentColumn(), 0);
    for (const int row : corruptRows)
        scanned.corrupt.emplace_back(table.cell(Column::StartTime, row));
    scanned.table = dumpTable(table);
    return scanned;
}

// The bytes read from a file in memory, the second thread starting split
// bytes in (0: one thread), split anywhere when split is left out.
Scanned scanWhileRead(const std::string& bytes, std::optional<std::size_t> split) {
    const int fd = ::memfd_create("log", MFD_CLOEXEC);
    EXPECT_GE(fd, 0);
    EXPECT_EQ(::write(fd, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    ::lseek(fd, 0, SEEK_SET);
    LogLines lines;
    CallScanWhileRead scan({});
    if (split)
        lines.assignFrom(fd, "memory", *split, &scan);
    else
        lines.assignFrom(fd, "memory", scan);
    ::close(fd);
    return finishedScan(lines, scan);
}

void expectSameScan(const Scanned& read, const Scanned& whole) {
    EXPECT_EQ(read.lines, whole.lines);
    EXPECT_EQ(read.table, whole.table);
    EXPECT_EQ(read.corrupt, whole.corrupt);
}

// Every kind of line end, a NUL byte, calls cut short, a corrupt call, lines
// outside any call and a "log opened" as the very last line.
std::string mixedLog(bool withNul) {
    std::string text = crlfText({
        logLine("08:00:00.00", "before any call"),
        opened("10:00:00.00"),
        logLine("10:00:01.50", "LCP : Layer up."),
        counterLine("10:00:02.00", "Bytes Received", "1234"),
        closed("10:00:05.00"),
    });
    text += opened("11:00:00.00") + "\n\r";
    text += logLine("11:00:00.20", "CCP : Layer up") + "\r";
    text += opened("x1:00:00.00") + "\r\n";
    text += counterLine("11:00:03.00", "CRC Errors", "7") +
            (withNul ? std::string("\0tail\r\n", 7) : "\r\n");
    text += logLine("11:30:00.00", "between calls") + "\n";
    text += opened("12:00:00.00") + "\n\n";
    text += logLine("12:00:09.00", "IPCP : Layer up") + "\r\n";
    text += opened("13:00:00.00");
    return text;
}

const std::string kSampleLog = KESTAL_SOURCE_DIR "/examples/windows/ppplog.txt";

TEST(ScanWhileRead, FixturesScanAsTheirWholeLines) {
    std::vector<std::string> paths = {kSampleLog,
                                      KESTAL_SOURCE_DIR "/tests/printing/two-calls-ppplog.txt"};
    for (const auto& entry : std::filesystem::directory_iterator(KESTAL_TEST_DATA "/log"))
        paths.push_back(entry.path().string());
    for (const std::string& path : paths) {
        const std::string bytes = readBytes(path);
        const Scanned whole = scanOfWholeLines(bytes);
        ASSERT_FALSE(whole.table.empty()) << path;
        for (std::size_t split = 0; split < bytes.size(); split += 1 + bytes.size() / 97) {
            SCOPED_TRACE(path + " split at " + std::to_string(split));
            expectSameScan(scanWhileRead(bytes, split), whole);
        }
    }
}

TEST(ScanWhileRead, EverySplitAndEveryCutOfALogScansAsItsWholeLines) {
    for (const bool withNul : {false, true}) {
        const std::string log = mixedLog(withNul);
        const Scanned whole = scanOfWholeLines(log);
        ASSERT_EQ(whole.corrupt.size(), 2u);  // "x1:..." and the call it cuts short
        for (std::size_t split = 0; split <= log.size(); ++split) {
            SCOPED_TRACE("split at " + std::to_string(split) + (withNul ? ", NUL" : ""));
            expectSameScan(scanWhileRead(log, split), whole);
        }
        // The log cut at every byte, the second thread starting half way
        // and just before the end.
        for (std::size_t size = 0; size <= log.size(); ++size) {
            const std::string cut = log.substr(0, size);
            const Scanned cutWhole = scanOfWholeLines(cut);
            for (const std::size_t split : {size / 2, size - std::min<std::size_t>(size, 2)}) {
                SCOPED_TRACE("cut at " + std::to_string(size) + ", split at " +
                             std::to_string(split) + (withNul ? ", NUL" : ""));
                expectSameScan(scanWhileRead(cut, split), cutWhole);
            }
        }
    }
}

TEST(ScanWhileRead, PipeFedInSmallPiecesScansAsItsWholeLines) {
    // Lines come a few at a time, CR LF pairs split among the reads.
    const std::string bytes = mixedLog(false) + readBytes(kSampleLog);
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
    LogLines lines;
    CallScanWhileRead scan({});
    lines.assignFrom(ends[0], "pipe", scan);
    writer.join();
    ::close(ends[0]);
    expectSameScan(finishedScan(lines, scan), scanOfWholeLines(bytes));
}

TEST(ScanWhileRead, LongLogsReadByTwoThreadsScanAsTheirWholeLines) {
    // Past the size that two threads read: calls all along, and calls only
    // up to a third of the way, the rest one endless call whose lines the
    // first thread's walk takes over from the second.
    for (const bool callsAllAlong : {true, false}) {
        std::vector<std::string> lines;
        for (int i = 0; i < 320000; ++i) {
            const std::string time = "09:00:" + std::to_string(10 + i % 50) + ".00";
            if (i % 40 == 0 && (callsAllAlong || i < 100000))
                lines.push_back(opened(i % 4000 == 0 ? "9x:00:00.00" : time));
            else
                lines.push_back(counterLine(time, "Bytes Received", std::to_string(i)));
        }
        const std::string bytes = crlfText(lines);
        ASSERT_GT(bytes.size(), std::size_t{16} << 20);
        SCOPED_TRACE(callsAllAlong ? "calls all along" : "one endless call");
        expectSameScan(scanWhileRead(bytes, std::nullopt), scanOfWholeLines(bytes));
    }
}

}  // namespace
}  // namespace kestal::testing
