// What Show Call Details says when a line of a call can't be copied: the
// warning's text, and the line that stands in for the one lost.
#pragma once

#include <functional>
#include <string_view>

namespace kestal {

inline constexpr std::string_view kCorruptLineWarningStart =
    "The data for this call appears to have been corrupted in line number ";
inline constexpr std::string_view kCorruptLineWarningEnd =
    ". A warning replaces the corrupted line.";
inline constexpr std::string_view kWarningLine = "Warning!";

// Called with the full warning text when annotating or appending a line
// fails; the line "Warning!" then stands in its place.
using DetailsWarningHandler = std::function<void(std::string_view warning)>;

}  // namespace kestal
