// Which kind of log a file is, from its first bytes: the dial-up adapter's
// log, or a pppd log (a line of pppd behind a system log's prefix, or
// pppd's own bare messages).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "pppd/MonthNames.h"

namespace kestal {

enum class LogKind { DialUp, Pppd };

// How much of a file's start is looked at.
inline constexpr std::size_t kKindProbeBytes = 64 * 1024;

// firstBytes: up to kKindProbeBytes of the file's start (more are ignored).
// Anything that is not a pppd log is the dial-up log.
LogKind detectLogKind(std::string_view firstBytes, const MonthNames& months);

// The same with the English month names and the region's.
bool looksLikePppdLog(std::string_view firstBytes);

// When a log's first dated line in head was written (seconds as if the
// clock were UTC), a date without its year put at or before the file's last
// change (modified, seconds since the epoch); none without a dated line. The
// order of rotated logs (bytes/LogFiles.h).
std::optional<std::int64_t> firstDatedTime(std::string_view head, std::int64_t modified);

}  // namespace kestal
