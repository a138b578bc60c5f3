#include "calls/CallValues.h"

#include <algorithm>
#include <limits>

namespace kestal {

std::string wideCountText(WideCount value) {
    // Dividing 128-bit numbers takes a call each: most sums fit 64 bits.
    if (value <= std::numeric_limits<std::uint64_t>::max())
        return std::to_string(static_cast<std::uint64_t>(value));
    std::string digits;
    do {
        digits.push_back(static_cast<char>('0' + static_cast<int>(value % 10)));
        value /= 10;
    } while (value != 0);
    std::reverse(digits.begin(), digits.end());
    return digits;
}

std::optional<std::int64_t> CallValues::startTime() const {
    if (startDay == kNone || startSecond == kNone) return std::nullopt;
    return std::int64_t{startDay} * 86400 + startSecond;
}

namespace {

// A day or second that fits the 32 bits kept, none otherwise.
std::int32_t narrow(std::int64_t value) {
    if (value <= CallValues::kNone || value > INT32_MAX) return CallValues::kNone;
    return static_cast<std::int32_t>(value);
}

// Values is a row's values by column: a span of them, or a table row's.
template <typename Values>
CallValues valuesOfCall(const Values& values, std::uint32_t marks) {
    CallValues call;
    const CellValue start = values[kStartTimeColumn];
    if (const std::optional<std::int64_t> day = start.day()) {
        call.startDay = narrow(*day);
        if (start.whole() && call.startDay != CallValues::kNone)
            call.startSecond = narrow(*start.asNumber() - *day * CellValue::kSecondsPerDay);
    }
    if (const std::optional<std::int64_t> seconds = values[kDurationColumn].asNumber())
        call.duration = narrow(*seconds);
    call.cutShort = (marks & kCutShortMark) != 0;
    for (int l = 0; l < kLayerColumnCount; ++l) {
        if (const std::optional<std::int64_t> tenths = values[kFirstLayerColumn + l].asNumber()) {
            call.layers |= static_cast<std::uint8_t>(1u << l);
            call.layerTenths[static_cast<std::size_t>(l)] = *tenths;
        }
    }
    for (int c = 0; c < kTrafficCounterCount; ++c) {
        if (const std::optional<std::uint64_t> count = values[kFirstCounterColumn + c].asCount()) {
            call.traffic[static_cast<std::size_t>(c)] = *count;
            call.counted |= static_cast<std::uint8_t>(1u << c);
        }
    }
    for (int e = 0; e < kErrorColumnCount; ++e)
        call.errors += values[kFirstErrorColumn + e].asCount().value_or(0);
    return call;
}

}  // namespace

CallValues callValuesOf(std::span<const CellValue> values, std::uint32_t marks) {
    return valuesOfCall(values, marks);
}

CallValues callValuesOf(const CallTable& table, int row) {
    const CallTable::RowValues values = table.rowValues(row);
    return valuesOfCall(values, values.marks());
}

}  // namespace kestal
