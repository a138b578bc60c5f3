// The prefixes a system log puts in front of a program's message, as the
// pppd log generator writes them: classic syslog, BusyBox, OpenWrt's
// logread, RFC 3339, the journal's short-iso, short-iso-precise,
// short-precise, short-full and json outputs, pppd's own bare log file, a
// syslog priority in front, and all of them mixed line by line.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kestal::bench {

enum class LineStyle {
    Syslog,
    BusyBox,
    OpenWrt,
    Rfc3339,
    ShortIso,
    ShortIsoPrecise,
    ShortPrecise,
    ShortFull,
    Json,
    Export,  // the journal export format, for systemd-journal-remote
    Bare,
    Priority,
    Mixed
};

std::optional<LineStyle> lineStyleNamed(std::string_view name);

// Whether lines of this style carry a time and a PID (pppd's own log
// file has neither).
inline bool styleHasTimes(LineStyle style) { return style != LineStyle::Bare; }

// One line of the log.
struct LogLineParts {
    std::int64_t localTime = 0;  // the clock as printed, seconds (as if UTC)
    int utcOffsetSeconds = 0;    // of that clock
    unsigned microseconds = 0;   // printed only by the precise styles
    std::string_view program;    // e.g. "pppd"
    long pid = 0;                // 0: no PID printed
    std::string_view message;
};

// Appends the line in the style (a mixed log picks the style of each line
// from pick), with its line end.
void appendLine(std::string& out, LineStyle style, const LogLineParts& line, unsigned pick);

}  // namespace kestal::bench
