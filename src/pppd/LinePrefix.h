// The prefix a system log writes in front of each program's message: its
// time, program and process id. Every style pppd's lines come in is read
// here (classic syslog, BusyBox's facility.level, OpenWrt's logread,
// RFC 3339 and journalctl's short styles, a <N> priority in front of any,
// journalctl's JSON), one line at a time and without allocating for a line
// that is not pppd's.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "pppd/MonthNames.h"

namespace kestal {

// The log's clock as it printed a line's time, to the second.
struct PrintedTime {
    int year = 0;  // 0: the prefix gives no year
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
    std::optional<int> utcOffset;  // seconds east of UTC, when printed

    friend bool operator==(const PrintedTime&, const PrintedTime&) = default;
};

struct PrefixedLine {
    std::optional<PrintedTime> time;
    std::string_view program;  // IDENT, SYSLOG_IDENTIFIER
    std::optional<long> pid;
    std::string_view message;
};

// The prefix of line, or none when it fits no style. The message is a view
// into line, or into decoded when the line is a JSON object whose MESSAGE
// needs decoding (escapes, an array of bytes); decoded is left alone
// otherwise.
std::optional<PrefixedLine> readPrefix(std::string_view line, const MonthNames& months,
                                       std::string& decoded);

// The same, for code that keeps no buffer of its own (a JSON line's decoded
// message then lives in a buffer of the calling thread, until its next call).
std::optional<PrefixedLine> readPrefix(std::string_view line, const MonthNames& months);

}  // namespace kestal
