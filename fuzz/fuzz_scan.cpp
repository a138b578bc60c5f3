// The call scan: any log gives a table whose rows are the log's calls in
// order, each row's Start Time being the first 19 bytes of a "log opened"
// line, with cells of the shapes the columns promise.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzCheck.h"
#include "calls/CallScan.h"
#include "calls/CallScanWhileRead.h"
#include "commands/CallCountText.h"

using namespace kestal;
using kestal::fuzz::check;
using kestal::fuzz::contains;

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// "hh:mm:ss" with the given separator, hours 00 to 23.
bool isDuration(std::string_view text, char separator) {
    if (text == "-       ") return true;
    if (text.size() != 8 || text[2] != separator || text[5] != separator) return false;
    for (std::size_t i : {0, 1, 3, 4, 6, 7}) {
        if (!isDigit(text[i])) return false;
    }
    const int hours = (text[0] - '0') * 10 + (text[1] - '0');
    const int minutes = (text[3] - '0') * 10 + (text[4] - '0');
    const int seconds = (text[6] - '0') * 10 + (text[7] - '0');
    return hours < 24 && minutes < 60 && seconds < 60;
}

// "-", or a number from 0.0 to 500.0 with one decimal, at least 3 characters.
// A layer a few hundredths before the start's whole second prints as "-0.0",
// which reads back as zero and so stays.
bool isLayerCell(std::string_view text, char decimalSeparator) {
    if (text == "-") return true;
    if (text == std::string{'-', '0', decimalSeparator, '0'}) return true;
    if (text.size() < 3) return false;
    const std::size_t separatorAt = text.size() - 2;
    if (text[separatorAt] != decimalSeparator || !isDigit(text.back())) return false;
    std::size_t first = 0;
    while (first < separatorAt && text[first] == ' ') ++first;
    if (first == separatorAt) return false;
    long whole = 0;
    for (std::size_t i = first; i < separatorAt; ++i) {
        if (!isDigit(text[i])) return false;
        whole = whole * 10 + (text[i] - '0');
        if (whole > 500) return false;
    }
    return whole < 500 || text.back() == '0';
}

void checkSameRows(const CallTable& table, const CallTable& expected, const char* what) {
    check(table.rowCount() == expected.rowCount(), "row count", what);
    for (int row = 0; row < expected.rowCount(); ++row) {
        for (int column = 0; column < kColumnCount; ++column) {
            check(table.cell(columnAt(column), row) == expected.cell(columnAt(column), row),
                  "cell differs", what);
        }
    }
}

// The bytes read from a file in memory by two threads (split at a byte
// picked by choice) and scanned meanwhile; warnings are the corrupt calls'
// start texts.
LogLines scanWhileRead(std::string_view bytes, unsigned choice, const RegionalSettings& settings,
                       CallTable& table, std::vector<std::string_view>& warnings) {
    const int fd = ::memfd_create("log", MFD_CLOEXEC);
    if (fd < 0 || ::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()) ||
        ::lseek(fd, 0, SEEK_SET) != 0)
        std::abort();
    LogLines lines;
    CallScanWhileRead scan(settings);
    lines.assignFrom(fd, "memory", bytes.empty() ? 0 : (choice * 2654435761u) % bytes.size(),
                     &scan);
    ::close(fd);
    std::vector<int> corruptRows;
    scan.finish(lines, table, corruptRows);
    for (const int row : corruptRows) warnings.push_back(table.cell(Column::StartTime, row));
    return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    kestal::fuzz::Input input(data, size);
    RegionalSettings settings;
    const std::uint8_t choice = input.byte();
    settings.decimalSeparator = ".,:"[choice % 3];
    settings.timeSeparator = ":. "[(choice / 3) % 3];

    const std::string logBytes(input.rest());
    const LogLines lines = LogLines::fromBytes(logBytes);
    CallTable table{kDialUpColumns};
    int corruptCalls = 0;
    scanCalls(lines, table, settings, [&](std::string_view) { ++corruptCalls; });

    std::vector<std::string_view> openers;  // first 19 bytes of each "log opened" line
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (contains(lines[i], "log opened")) openers.push_back(lines[i].substr(0, 19));
    }

    const int calls = table.callCount();
    check(table.rowCount() >= 1, "row count below 1");
    check(table.currentRow() == 0 && table.currentColumn() == 0, "current cell after the scan");
    check(calls >= 0 && corruptCalls <= calls, "more corrupt calls than calls");
    if (calls == 0) {
        check(table.rowCount() == 1, "no call but extra rows");
        for (int column = 0; column < kColumnCount; ++column) {
            check(table.cell(columnAt(column), 0).empty(), "no call but row 0 has text",
                  table.cell(columnAt(column), 0));
        }
    } else {
        check(calls == table.rowCount(), "call count disagrees with row count");
    }

    // Every "log opened" line opens a row, except possibly a last line that
    // cuts the call before it short.
    const auto opened = static_cast<int>(openers.size());
    const bool lastLineOpens = !lines.empty() && contains(lines[lines.size() - 1], "log opened");
    check(calls == opened || (calls == opened - 1 && lastLineOpens), "rows differ from calls");

    for (int row = 0; row < calls; ++row) {
        const std::string_view start = table.cell(Column::StartTime, row);
        check(start == openers[static_cast<std::size_t>(row)], "Start Time is not its opener",
              start);
        check(table.cell(Column::EndTime, row).size() <= 19, "End Time too long",
              table.cell(Column::EndTime, row));
        check(isDuration(table.cell(Column::Duration, row), settings.timeSeparator), "Duration",
              table.cell(Column::Duration, row));
        for (int column = 3; column <= 6; ++column) {
            check(isLayerCell(table.cell(columnAt(column), row), settings.decimalSeparator),
                  "layer cell", table.cell(columnAt(column), row));
        }
        for (int column = 7; column < kColumnCount; ++column) {
            check(table.cell(columnAt(column), row).size() <= 19, "counter cell too long",
                  table.cell(columnAt(column), row));
        }
    }

    // Two walkers, the second starting at any line, give the same rows and
    // warnings in the same order.
    if (!lines.empty()) {
        const std::size_t split = (choice * 131u + lines.size() * 7u) % (lines.size() + 1);
        CallTable splitTable{kDialUpColumns};
        std::vector<std::string_view> warnings, splitWarnings;
        CallTable again{kDialUpColumns};
        scanCalls(
            lines, again, settings, [&](std::string_view start) { warnings.push_back(start); },
            lines.size());
        scanCalls(
            lines, splitTable, settings,
            [&](std::string_view start) { splitWarnings.push_back(start); }, split);
        check(warnings == splitWarnings, "warnings of two walkers differ");
        checkSameRows(splitTable, again, "two walkers");

        // The scan while the bytes are read, by two threads split anywhere.
        CallTable whileRead{kDialUpColumns};
        std::vector<std::string_view> readWarnings;
        const LogLines readLines =
            scanWhileRead(logBytes, choice, settings, whileRead, readWarnings);
        check(readLines.size() == lines.size(), "lines of the scan while read differ");
        check(warnings == readWarnings, "warnings of the scan while read differ");
        checkSameRows(whileRead, again, "the scan while read");
    }

    const std::optional<std::string> label = callCountText(table);
    if (table.rowCount() > 2) {
        check(label && *label == std::to_string(table.rowCount()) + " Calls", "call count label");
    } else {
        check(!label, "call count label for fewer than three calls");
    }
    return 0;
}
