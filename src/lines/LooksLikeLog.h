// Whether a file's first bytes look like a PPP log: asked before a file the
// user dropped on the window or took from the recent logs replaces the log
// shown, so that a picture or a letter is refused rather than read as a log.
#pragma once

#include <cstddef>
#include <string_view>

namespace kestal {

// How many of a file's first bytes are enough to tell.
inline constexpr std::size_t kLogLookBytes = 64 * 1024;

// True when firstBytes are text holding at least one line of the Dial-Up
// Networking log (pppd/LogKind.h tells a pppd log), or nothing at all (a log just switched on is
// empty). NUL bytes are passed over, as a damaged log may hold runs of them; other control bytes
// than tab, line ends, form feed and the end-of-file mark (26) make it no text. The last line may
// be cut short where the bytes end.
bool looksLikePppLog(std::string_view firstBytes);

// A line of the Dial-Up Networking log: a date, a space, a time of day and
// " - " before the text, as in "12-01-2026 09:12:04.30 - LCP : Layer up"
// (the time written in the region's own way, as a cleared log's first line
// has it).
bool isDialUpLogLine(std::string_view line);

}  // namespace kestal
