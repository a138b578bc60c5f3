// Where the log's fields stand in a line: 1-based character positions, as
// the dial-up log's lines are laid out (1 to 19 date and time of day, 12 to
// 22 the time with its fraction, 49 to 67 a counter's value).
#pragma once

#include <string_view>

#include "calls/CallBounds.h"

namespace kestal {

// Characters from 1-based position `first` to `last` of line, fewer (maybe
// none) when the line ends sooner.
inline std::string_view positions(std::string_view line, std::size_t first, std::size_t last) {
    if (first == 0 || first > line.size() || last < first) return {};
    return line.substr(first - 1, last - first + 1);
}

}  // namespace kestal
