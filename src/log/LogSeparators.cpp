#include "log/LogSeparators.h"

#include "log/CallScan.h"

namespace kestal {

std::optional<int> readLogTimeOfDay(std::string_view text, char regionalTimeSeparator) {
    const std::optional<int> regional = readTimeOfDay(text, regionalTimeSeparator);
    if (regional || regionalTimeSeparator == kLogTimeSeparator) return regional;
    return readTimeOfDay(text, kLogTimeSeparator);
}

std::optional<double> readLogNumber(std::string_view text, char regionalDecimalSeparator) {
    const std::optional<double> regional = readNumber(text, regionalDecimalSeparator);
    if (regional || regionalDecimalSeparator == kLogDecimalSeparator) return regional;
    return readNumber(text, kLogDecimalSeparator);
}

}  // namespace kestal
