// The classic syslog prefix read in a hurry, for lines of programs other
// than pppd and chat: a system log's lines are mostly theirs, and the reader
// only needs to know that such a line fits, its time, and that its message
// is not one of pppd's.
#pragma once

#include <optional>
#include <string_view>

#include "pppd/LinePrefix.h"

namespace kestal {

struct QuickLine {
    PrintedTime time;
};

// The line's time when it is "Mmm dd hh:mm:ss[.ffffff] HOST
// [FACILITY.LEVEL] IDENT[PID]: MSG" with an English month, IDENT neither
// pppd nor chat and MSG none of pppd's messages; none otherwise (the whole
// prefix reader then decides).
std::optional<QuickLine> readQuickly(std::string_view line);

}  // namespace kestal
