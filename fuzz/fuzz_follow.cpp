// Following a growing log: the text read in up to three parts (the lines
// cut on where the last part left off, the calls walked again from the last
// call's "log opened" line) gives the lines and the call table that one
// read and one walk of the whole text give, wherever the parts were cut.
#include <cstdint>
#include <string>

#include "FuzzCheck.h"
#include "calls/CallScan.h"
#include "calls/LineMatcher.h"
#include "commands/FollowLog.h"

using namespace kestal;
using kestal::fuzz::check;

namespace {

std::size_t lastOpener(const LogLines& lines) {
    for (std::size_t i = lines.size(); i-- > 0;)
        if (linematch::matchLine(lines[i]) & linematch::LogOpened) return i;
    return 0;
}

// The follower's steps, on bytes instead of a file.
void grow(LogLines& lines, CallTable& table, std::string_view added,
          const RegionalSettings& settings) {
    const bool hadCalls = table.callCount() > 0;
    const std::size_t last = hadCalls ? lastOpener(lines) : 0;
    const std::size_t changed = lines.append(added);
    LogGrowth growth;
    growth.firstRow = hadCalls ? table.rowCount() - 1 : 0;
    scanCallsFrom(lines, hadCalls ? last : changed, growth.calls, settings, nullptr);
    if (growth.calls.callCount() > 0) replaceCallsFrom(table, growth);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    kestal::fuzz::Input input(data, size);
    const std::uint8_t cuts = input.byte();
    const std::string text(input.rest());
    const std::size_t first = text.size() * (cuts & 15u) / 16;
    const std::size_t second = first + (text.size() - first) * (cuts >> 4) / 16;
    const RegionalSettings settings;

    const LogLines whole = LogLines::fromBytes(text);
    CallTable wholeTable{kDialUpColumns};
    scanCalls(whole, wholeTable, settings, nullptr);

    LogLines lines = LogLines::fromBytes(text.substr(0, first));
    CallTable table{kDialUpColumns};
    scanCalls(lines, table, settings, nullptr);
    grow(lines, table, std::string_view(text).substr(first, second - first), settings);
    grow(lines, table, std::string_view(text).substr(second), settings);

    check(lines.size() == whole.size(), "line count differs from a whole read");
    for (std::size_t i = 0; i < lines.size(); ++i)
        check(lines[i] == whole[i], "line differs from a whole read", lines[i]);
    check(lines.joinedLength() == whole.joinedLength(), "joined length differs");
    check(table.rowCount() == wholeTable.rowCount(), "row count differs from a whole walk");
    for (int row = 0; row < table.rowCount(); ++row)
        for (int column = 0; column < kColumnCount; ++column)
            check(table.cell(columnAt(column), row) == wholeTable.cell(columnAt(column), row),
                  "cell differs from a whole walk", table.cell(columnAt(column), row));
    return 0;
}
