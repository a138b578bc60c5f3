// One call's lines found again by its Start Time, with the dotted-decimal
// form appended after every hexadecimal IP address.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "details/DetailsWarnings.h"
#include "lines/LogLines.h"

namespace kestal {

// The value of a hexadecimal digit is its 1-based position here; "0" and
// anything else count 0.
inline constexpr std::string_view kHexDigits = "123456789ABCDEF";

// " (192.168.0.1)" for "c0a80001"; takes up to 8 characters.
std::string hexToDottedQuad(std::string_view text);

// The line with one annotation appended for each address key it holds
// ("IP address of ", "DNS ", "from 0 to ", in that order).
std::string annotateLine(std::string_view line);

// The lines the details window shows for the call(s) whose "log opened"
// line starts with startTime.
std::vector<std::string> gatherCallDetails(const LogLines& lines, std::string_view startTime,
                                           const DetailsWarningHandler& onWarning);

// The same with the annotation supplied by the caller, so that a failing
// annotation can be provoked.
using LineAnnotator = std::function<std::string(std::string_view line)>;
std::vector<std::string> gatherCallDetails(const LogLines& lines, std::string_view startTime,
                                           const DetailsWarningHandler& onWarning,
                                           const LineAnnotator& annotate);

}  // namespace kestal
