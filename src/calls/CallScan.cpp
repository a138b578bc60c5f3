#include "calls/CallScan.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <thread>
#include <vector>

#include "bytes/ReadAhead.h"
#include "bytes/SideBySide.h"
#include "calls/CallRow.h"
#include "calls/LineMatcher.h"

namespace kestal {

namespace {

namespace lm = linematch;

// Logs of this many lines are walked by two threads (when there are two
// processors); a shorter one is walked before a thread would start.
constexpr std::size_t kTwoThreadMinimumLines = 1 << 18;
// How far past the middle the second thread's first call is looked for.
constexpr std::size_t kSplitSearchLines = 1 << 16;

// Writes one call's row where the scan writes it (see CallTable::addCall),
// which becomes the current row.
void writeCallRow(const CallSummary& call, CallRowBuilder& rows, CallTable& table,
                  const CorruptCallHandler& onCorruptCall) {
    const CallRow& row = rows.build(call);
    if (row.corrupt && onCorruptCall) onCorruptCall(call.startText);
    table.setCurrentRow(table.addCall(row.built()));
    table.setCurrentColumn(0);
}

std::string_view lineReadingAhead(const LogLines& lines, std::size_t index) {
    const std::string_view line = lines[index];
    readAhead(line);
    return line;
}

// Writes the rows of the calls that open at lines first to stop - 1; the
// last of them may run on past stop.
void scanRange(const LogLines& lines, std::size_t first, std::size_t stop, CallTable& table,
               const RegionalSettings& settings, const CorruptCallHandler& onCorruptCall) {
    const std::size_t count = lines.size();
    CallRowBuilder rows(settings);
    std::size_t next = first;  // index of the line after the current one
    std::string_view current;
    // A "log opened" line that cut the previous call short opens the next
    // call, also when it is the log's last line.
    bool opensNext = false;
    for (;;) {
        if (!opensNext) {
            if (next >= stop) break;
            current = lineReadingAhead(lines, next++);
            if (!(lm::matchLine(current) & lm::LogOpened)) continue;
        } else if (next - 1 >= stop) {
            break;
        }
        opensNext = false;

        CallSummary call;
        call.startText = positions(current, 1, kCallTimeLength);
        call.lines.first = next - 1;
        while (next < count) {
            current = lineReadingAhead(lines, next++);
            const std::uint32_t texts = lm::matchLine(current);
            if (texts & lm::LogOpened) {
                call.cutShort = true;
                opensNext = true;
                break;
            }
            if (texts != 0) takeLineValues(texts, current, call);
            if (texts & lm::LogClosed) break;
        }
        call.endText = positions(current, 1, kCallTimeLength);
        // Up to the line it ended at, or before the line that cut it short.
        call.lines.end = opensNext ? next - 1 : next;
        writeCallRow(call, rows, table, onCorruptCall);
    }
}

// What the second thread walking a log works on, in cache lines of its own
// (were they to share one with what the first thread writes, the two would
// slow each other down).
struct alignas(64) LaterCalls {
    CallTable table{kDialUpColumns};
    std::vector<std::string_view> corrupt;  // told once the earlier calls are
};

}  // namespace

void scanCalls(const LogLines& lines, CallTable& table, const RegionalSettings& settings,
               const CorruptCallHandler& onCorruptCall) {
    std::size_t split = lines.size();
    if (lines.size() >= kTwoThreadMinimumLines && std::thread::hardware_concurrency() >= 2) {
        // The first call opening in the middle; a log with none there (one
        // endless call, say) is walked by one thread.
        const std::size_t middle = lines.size() / 2;
        const std::size_t end = std::min(lines.size(), middle + kSplitSearchLines);
        for (std::size_t i = middle; i < end; ++i) {
            if (lm::matchLine(lines[i]) & lm::LogOpened) {
                split = i;
                break;
            }
        }
    }
    scanCalls(lines, table, settings, onCorruptCall, split);
}

void scanCalls(const LogLines& lines, CallTable& table, const RegionalSettings& settings,
               const CorruptCallHandler& onCorruptCall, std::size_t split) {
    // A "log opened" line always opens a call, whatever came before it: the
    // walk can start afresh there. The calls opening before it end at it at
    // the latest.
    while (split < lines.size() && !(lm::matchLine(lines[split]) & lm::LogOpened)) ++split;
    // Room for the calls at once, a call every eight lines at most (pages
    // never used cost nothing): the rows are not moved as the table grows.
    constexpr std::size_t kLeastLinesPerCall = 8;
    table.reserveCalls(lines.size() / kLeastLinesPerCall);
    if (split >= lines.size()) {
        scanRange(lines, 0, lines.size(), table, settings, onCorruptCall);
    } else {
        LaterCalls later;
        later.table.reserveCalls((lines.size() - split) / kLeastLinesPerCall);
        runSideBySide(
            [&] {
                scanRange(
                    lines, split, lines.size(), later.table, settings,
                    [&later](std::string_view startText) { later.corrupt.push_back(startText); });
            },
            [&] { scanRange(lines, 0, split, table, settings, onCorruptCall); });
        table.appendCalls(std::move(later.table));
        if (onCorruptCall) {
            for (const std::string_view startText : later.corrupt) onCorruptCall(startText);
        }
    }
    table.setCurrentRow(0);
    table.setCurrentColumn(0);
}

void scanCallsFrom(const LogLines& lines, std::size_t first, CallTable& table,
                   const RegionalSettings& settings, const CorruptCallHandler& onCorruptCall) {
    scanRange(lines, std::min(first, lines.size()), lines.size(), table, settings, onCorruptCall);
    table.setCurrentRow(0);
    table.setCurrentColumn(0);
}

}  // namespace kestal
