// The classic syslog prefix read in a hurry: a system log's lines are mostly
// in that style, and reading it whole for each of them would cost more than
// everything else the reader does.
#pragma once

#include <optional>
#include <string_view>

#include "pppd/LinePrefix.h"

namespace kestal {

// What the hurried reader found of a line in the classic style: views
// into the line.
struct QuickLine {
    PrintedTime time;  // no year, no offset
    std::string_view program;
    std::string_view pid;  // its digits; empty when the line gives none
    std::string_view message;

    // Another program's line that says nothing pppd says: the reader only
    // needs its time.
    bool isOthers() const;
    // The line as readPrefix reads it.
    PrefixedLine prefixed() const;
};

// Whether line is "Mmm dd hh:mm:ss[.ffffff] HOST [FACILITY.LEVEL]
// IDENT[PID]: MSG" with an English month and HOST and IDENT within the
// first 64 bytes after the time; then quick holds what readPrefix would
// read of it. When not, the whole prefix reader decides.
bool readQuickly(std::string_view line, QuickLine& quick);

// The same as readPrefix reads it, or none.
std::optional<PrefixedLine> readQuickly(std::string_view line);

}  // namespace kestal
