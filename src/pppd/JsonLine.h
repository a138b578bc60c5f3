// One line of journalctl's JSON export (-o json): the fields a pppd log
// needs from its object.
#pragma once

#include <string>
#include <string_view>

#include "pppd/LinePrefix.h"

namespace kestal {

// Reads __REALTIME_TIMESTAMP (microseconds since the epoch, as the
// program's own time zone shows them), _PID, SYSLOG_IDENTIFIER and MESSAGE
// (a string, or an array of byte values) from the object line. The message
// views line when it needs no decoding, else decoded. False when the line is
// no well-formed object or has no MESSAGE.
bool readJsonLine(std::string_view line, PrefixedLine& read, std::string& decoded);

}  // namespace kestal
