#include "table/CallValues.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <limits>
#include <numeric>
#include <stdexcept>
#include <thread>

#include "platform/RegionalNumbers.h"

namespace kestal {

namespace {

// Below this many calls a second thread costs more than it saves.
constexpr std::size_t kCallsForTwoThreads = 32768;

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// A counter cell as readCountCell reads it, here in line: the cells stand
// right-aligned behind ten blanks or so, skipped eight at a time.
bool countOf(std::string_view cell, std::uint64_t& value) {
    constexpr std::uint64_t kEightBlanks = 0x2020202020202020ull;
    const char* at = cell.data();
    const char* end = at + cell.size();
    for (std::uint64_t eight = 0; end - at >= 8; at += 8) {
        std::memcpy(&eight, at, 8);
        if (eight != kEightBlanks) break;
    }
    while (at < end && *at == ' ') ++at;
    while (end > at && end[-1] == ' ') --end;
    if (at == end) return false;
    if (end - at > 19) {  // might not fit 64 bits
        const std::optional<std::uint64_t> count = readCountCell(cell);
        value = count.value_or(0);
        return count.has_value();
    }
    std::uint64_t number = 0;
    for (; at < end; ++at) {
        if (!isDigit(*at)) return false;
        number = number * 10 + static_cast<std::uint64_t>(*at - '0');
    }
    value = number;
    return true;
}

// Layer cells as the scan writes them ("2.6", " 13.0", "4") read directly;
// anything else ("-", more decimals, signs) as readLayerTenths reads it.
std::optional<std::int64_t> layerTenthsOf(std::string_view cell, const RegionalSettings& settings) {
    std::size_t i = 0;
    while (i < cell.size() && cell[i] == ' ') ++i;
    std::size_t end = cell.size();
    while (end > i && cell[end - 1] == ' ') --end;
    std::int64_t tenths = 0;
    std::size_t digits = 0;
    for (; i < end && isDigit(cell[i]) && digits < 9; ++i, ++digits)
        tenths = tenths * 10 + (cell[i] - '0');
    if (digits > 0 && i == end) return tenths * 10;
    if (digits > 0 && i + 2 == end && (cell[i] == '.' || cell[i] == settings.decimalSeparator) &&
        isDigit(cell[i + 1]))
        return tenths * 10 + (cell[i + 1] - '0');
    return readLayerTenths(cell, settings);
}

std::int32_t dayNumber(const std::chrono::year_month_day& date) {
    return static_cast<std::int32_t>(std::chrono::sys_days{date}.time_since_epoch().count());
}

void readInto(const CallTable& table, std::span<const int> rows, std::span<CallValues> values,
              const RegionalSettings& settings) {
    for (std::size_t i = 0; i < rows.size(); ++i)
        values[i] = readCallValues(table.rowTexts(rows[i]), settings);
}

}  // namespace

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

const CallValues& valueOfRow(std::span<const CallValues> values, int row) {
    if (row < 1 || static_cast<std::size_t>(row) > values.size())
        throw std::out_of_range("call values row");
    return values[static_cast<std::size_t>(row - 1)];
}

bool isCutShortEnd(std::string_view endCell) {
    if (endCell.empty() || endCell.front() != '-') return false;
    return endCell.find_first_not_of(' ', 1) == std::string_view::npos;
}

std::optional<std::int64_t> CallValues::startTime() const {
    if (startDay == kNone || startSecond == kNone) return std::nullopt;
    return std::int64_t{startDay} * 86400 + startSecond;
}

CallValues readCallValues(const RowTexts& cells, const RegionalSettings& settings) {
    CallValues call;
    const std::string_view start = cells[kStartTimeColumn];
    if (const auto date = readCellDate(start)) {
        call.startDay = dayNumber(*date);
        // As readCellDateTime reads it: the rest of a longer cell is not part
        // of the time.
        if (start.size() >= 19 && start[10] == ' ') {
            if (const auto time = readTimeOfDay(start.substr(11, 8), ':')) call.startSecond = *time;
        }
    }
    if (const auto seconds = readDurationCell(cells[kDurationColumn], settings))
        call.duration = *seconds;
    call.cutShort = isCutShortEnd(cells[kEndTimeColumn]);
    for (int l = 0; l < kLayerColumnCount; ++l) {
        if (const auto tenths = layerTenthsOf(cells[kFirstLayerColumn + l], settings)) {
            call.layers |= static_cast<std::uint8_t>(1u << l);
            call.layerTenths[l] = *tenths;
        }
    }
    for (int c = 0; c < kTrafficCounterCount; ++c) {
        if (countOf(cells[kFirstCounterColumn + c], call.traffic[c]))
            call.counted |= static_cast<std::uint8_t>(1u << c);
    }
    for (int e = 0; e < kErrorColumnCount; ++e) {
        std::uint64_t count = 0;
        if (countOf(cells[kFirstErrorColumn + e], count)) call.errors += count;
    }
    return call;
}

CallValues readCallValues(const CallTable& table, int row, const RegionalSettings& settings) {
    return readCallValues(table.rowTexts(row), settings);
}

std::vector<CallValues> readCallValues(const CallTable& table, std::span<const int> rows,
                                       const RegionalSettings& settings) {
    std::vector<CallValues> values(rows.size());
    const std::span<CallValues> all(values);
    if (rows.size() < kCallsForTwoThreads) {
        readInto(table, rows, all, settings);
        return values;
    }
    const std::size_t half = rows.size() / 2;
    std::exception_ptr failure;
    {
        const std::jthread second([&] {
            try {
                readInto(table, rows.subspan(half), all.subspan(half), settings);
            } catch (...) {
                failure = std::current_exception();
            }
        });
        readInto(table, rows.first(half), all.first(half), settings);
    }
    if (failure) std::rethrow_exception(failure);
    return values;
}

std::vector<CallValues> readAllCallValues(const CallTable& table,
                                          const RegionalSettings& settings) {
    std::vector<int> rows(static_cast<std::size_t>(std::max(table.callCount(), 0)));
    std::iota(rows.begin(), rows.end(), 1);
    return readCallValues(table, rows, settings);
}

}  // namespace kestal
