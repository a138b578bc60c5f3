// The call scan done while the log is read against the scan of the lines
// read whole: the same rows and the same corrupt calls in the same order,
// read by one thread or by two split anywhere, for every fixture, for logs
// cut at every byte and for logs long enough for two threads of their own
// accord.
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "calls/CallScanWhileRead.h"
#include "support/ScanHelpers.h"
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
    CallTable table{kDialUpColumns};
    scanCalls(lines, table, {},
              [&scanned](std::string_view start) { scanned.corrupt.emplace_back(start); });
    scanned.table = dumpTable(table) + dumpLines(table);
    return scanned;
}

// The bytes read from a file in memory and scanned meanwhile, the second
// thread starting split bytes in (0: one thread; none: as big files split),
// its index keeping its entries' distances in narrowBits.
Scanned scanWhileRead(const std::string& bytes, std::optional<std::size_t> split,
                      unsigned narrowBits = 16) {
    const int fd = ::memfd_create("log", MFD_CLOEXEC);
    EXPECT_EQ(::write(fd, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    ::lseek(fd, 0, SEEK_SET);
    LogLines lines(narrowBits);
    CallScanWhileRead scan({});
    if (split)
        lines.assignFrom(fd, "memory", *split, &scan);
    else
        lines.assignFrom(fd, "memory", scan);
    ::close(fd);
    Scanned scanned{linesOf(lines), {}, {}};
    CallTable table{kDialUpColumns};
    std::vector<int> corruptRows;
    scan.finish(lines, table, corruptRows);
    EXPECT_EQ(table.currentRow(), 0);
    for (const int row : corruptRows)
        scanned.corrupt.emplace_back(table.cell(Column::StartTime, row));
    scanned.table = dumpTable(table) + dumpLines(table);
    return scanned;
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

TEST(ScanWhileRead, LogsReadByOneOrTwoThreadsScanAsTheirWholeLines) {
    // The mixed logs split at every byte and cut at every byte (split half
    // way and just before the end), the fixtures split at about 100 places.
    std::vector<std::pair<std::string, bool>> logs = {{mixedLog(false), true},
                                                      {mixedLog(true), true}};
    for (const auto& entry : std::filesystem::directory_iterator(KESTAL_TEST_DATA "/log"))
        logs.emplace_back(readBytes(entry.path().string()), false);
    logs.emplace_back(readBytes(KESTAL_SOURCE_DIR "/examples/windows/ppplog.txt"), false);
    for (const auto& [log, everyByte] : logs) {
        const Scanned whole = scanOfWholeLines(log);
        if (everyByte) {
            ASSERT_EQ(whole.corrupt.size(), 2u);  // "x1:..." and the call it ends
        }
        const std::size_t step = everyByte ? 1 : 1 + log.size() / 97;
        for (std::size_t split = 0; split <= log.size(); split += step) {
            SCOPED_TRACE(log.substr(0, 40) + "... split at " + std::to_string(split));
            expectSameScan(scanWhileRead(log, split), whole);
            // The index's groups held whole after a line or two.
            if (everyByte) expectSameScan(scanWhileRead(log, split, 3), whole);
        }
        for (std::size_t size = 0; everyByte && size <= log.size(); ++size) {
            const std::string cut = log.substr(0, size);
            const Scanned cutWhole = scanOfWholeLines(cut);
            for (const std::size_t split : {size / 2, size - std::min<std::size_t>(size, 2)}) {
                SCOPED_TRACE("cut at " + std::to_string(size) + ", split at " +
                             std::to_string(split));
                expectSameScan(scanWhileRead(cut, split), cutWhole);
            }
        }
    }
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
