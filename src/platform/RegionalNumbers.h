// Reading times of day and decimal numbers with the regional separators, and
// the log's times and numbers whatever the desktop's regional settings. The
// log writes ":" between the fields of a time and "." before the fraction of
// a second on every machine, while a desktop may use "." for time or "," for
// decimals. A text is read with the regional separators first, and only when
// that fails once more with the log's own: whatever reads with the regional
// separators reads as it always did, and a log read on a Finnish or a German
// desktop still gives its durations and layer times.
#pragma once

#include <optional>
#include <string_view>

namespace kestal {

// Reads a decimal number with the given separator, blanks around it allowed
// (and only with that one: cells read back are read as they were written).
std::optional<double> readNumber(std::string_view text, char decimalSeparator);

// Reads "hh:mm:ss" (the separator given) as seconds since midnight.
std::optional<int> readTimeOfDay(std::string_view text, char timeSeparator);

inline constexpr char kLogTimeSeparator = ':';
inline constexpr char kLogDecimalSeparator = '.';

// "hh:mm:ss" as seconds since midnight, with the regional time separator or
// the log's own.
std::optional<int> readLogTimeOfDay(std::string_view text, char regionalTimeSeparator);

// A decimal number with the regional decimal separator or the log's own.
std::optional<double> readLogNumber(std::string_view text, char regionalDecimalSeparator);

}  // namespace kestal
