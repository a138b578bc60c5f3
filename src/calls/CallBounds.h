// Where a call of the dial-up log starts and ends: the texts its first and
// last lines hold, and the part of the first line that names the call. The
// call scan, the streamed walks and Show Call Details all go by these.
#pragma once

#include <cstddef>
#include <string_view>

namespace kestal {

// A line holding this opens a call (and cuts short the call before it).
inline constexpr std::string_view kCallOpenedText = "log opened";
// A line holding this closes the call at hand.
inline constexpr std::string_view kCallClosedText = "log closed";
// Show Call Details copies a call's lines up to the one holding this.
inline constexpr std::string_view kDetailsClosedText = "Remote access driver log closed";

// A call's Start Time is positions 1 to 19 of its opening line (and its End
// Time those of its closing line).
inline constexpr std::size_t kCallTimeLength = 19;

}  // namespace kestal
