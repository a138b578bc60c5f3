#include "table/ValueReaders.h"

#include <cmath>
#include <cstring>
#include <limits>

#include "platform/RegionalNumbers.h"

namespace kestal {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The number the digits at text[first, first + count) spell; none unless all
// of them are digits.
std::optional<int> digitsAt(std::string_view text, std::size_t first, std::size_t count) {
    if (first + count > text.size()) return std::nullopt;
    int value = 0;
    for (std::size_t i = first; i < first + count; ++i) {
        if (!isDigit(text[i])) return std::nullopt;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

// A time of day with the regional separator, or else with the log's own ":".
std::optional<int> readTimeEitherWay(std::string_view text, char regionalSeparator) {
    if (const std::optional<int> seconds = readTimeOfDay(text, regionalSeparator)) return seconds;
    if (regionalSeparator == ':') return std::nullopt;
    return readTimeOfDay(text, ':');
}

}  // namespace

std::optional<std::chrono::year_month_day> readCellDate(std::string_view cell) {
    if (cell.size() < 10 || cell[2] != '-' || cell[5] != '-') return std::nullopt;
    const std::optional<int> month = digitsAt(cell, 0, 2);
    const std::optional<int> day = digitsAt(cell, 3, 2);
    const std::optional<int> year = digitsAt(cell, 6, 4);
    if (!month || !day || !year) return std::nullopt;
    const std::chrono::year_month_day date{std::chrono::year{*year},
                                           std::chrono::month{static_cast<unsigned>(*month)},
                                           std::chrono::day{static_cast<unsigned>(*day)}};
    if (!date.ok()) return std::nullopt;
    return date;
}

std::optional<std::int64_t> readCellDateTime(std::string_view cell) {
    const std::optional<std::chrono::year_month_day> date = readCellDate(cell);
    if (!date || cell.size() < 19 || cell[10] != ' ') return std::nullopt;
    // The rest of a longer cell is not part of the time.
    const std::optional<int> time = readTimeOfDay(cell.substr(11, 8), ':');
    if (!time) return std::nullopt;
    const std::int64_t days = std::chrono::sys_days{*date}.time_since_epoch().count();
    return days * 86400 + *time;
}

std::optional<int> readDurationCell(std::string_view cell, const RegionalSettings& settings) {
    return readTimeEitherWay(cell, settings.timeSeparator);
}

std::optional<std::int64_t> readDecimalSteps(std::string_view cell, int decimals,
                                             const RegionalSettings& settings) {
    std::optional<double> number = readNumber(cell, settings.decimalSeparator);
    if (!number && settings.decimalSeparator != '.') number = readNumber(cell, '.');
    if (!number || !std::isfinite(*number)) return std::nullopt;
    const double steps = std::round(*number * std::pow(10.0, decimals));
    if (std::fabs(steps) > 1e15) return std::nullopt;
    return static_cast<std::int64_t>(steps);
}

std::optional<std::int64_t> readLayerTenths(std::string_view cell,
                                            const RegionalSettings& settings) {
    return readDecimalSteps(cell, 1, settings);
}

std::optional<std::uint64_t> readCountCell(std::string_view cell) {
    // Counter cells stand right-aligned behind ten blanks or so: skipped
    // eight at a time.
    constexpr std::uint64_t kEightBlanks = 0x2020202020202020ull;
    std::uint64_t eight = 0;
    while (cell.size() >= 8 && (std::memcpy(&eight, cell.data(), 8), eight == kEightBlanks))
        cell.remove_prefix(8);
    while (!cell.empty() && cell.front() == ' ') cell.remove_prefix(1);
    while (!cell.empty() && cell.back() == ' ') cell.remove_suffix(1);
    if (cell.empty()) return std::nullopt;
    std::uint64_t value = 0;
    // Up to 19 digits can't overflow: the check is needed only beyond.
    if (cell.size() <= 19) {
        for (const char c : cell) {
            if (!isDigit(c)) return std::nullopt;
            value = value * 10 + static_cast<std::uint64_t>(c - '0');
        }
        return value;
    }
    constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();
    for (const char c : cell) {
        if (!isDigit(c)) return std::nullopt;
        const auto digit = static_cast<std::uint64_t>(c - '0');
        if (value > (kMax - digit) / 10) return std::nullopt;
        value = value * 10 + digit;
    }
    return value;
}

CellValue readTimeValue(std::string_view cell) {
    if (const std::optional<std::int64_t> seconds = readCellDateTime(cell))
        return CellValue::of(*seconds);
    if (const std::optional<std::chrono::year_month_day> date = readCellDate(cell))
        return CellValue::dayOnly(std::chrono::sys_days{*date}.time_since_epoch().count());
    return {};
}

std::optional<std::uint32_t> readAddress(std::string_view cell) {
    std::uint32_t address = 0;
    for (int part = 0; part < 4; ++part) {
        if (part > 0) {
            if (cell.empty() || cell.front() != '.') return std::nullopt;
            cell.remove_prefix(1);
        }
        std::size_t digits = 0;
        unsigned value = 0;
        while (digits < cell.size() && digits < 3 && isDigit(cell[digits]))
            value = value * 10 + static_cast<unsigned>(cell[digits++] - '0');
        if (digits == 0 || value > 255) return std::nullopt;
        cell.remove_prefix(digits);
        address = address << 8 | value;
    }
    if (!cell.empty()) return std::nullopt;
    return address;
}

CellValue readCellValue(const TableColumn& column, std::string_view cell,
                        const RegionalSettings& settings) {
    switch (column.kind) {
        case ValueKind::Time:
            return readTimeValue(cell);
        case ValueKind::Duration:
            if (const std::optional<int> seconds = readDurationCell(cell, settings))
                return CellValue::of(*seconds);
            return {};
        case ValueKind::Decimal:
            if (const auto steps = readDecimalSteps(cell, column.decimals, settings))
                return CellValue::of(*steps);
            return {};
        case ValueKind::Number:
            if (const std::optional<std::uint64_t> count = readCountCell(cell))
                return CellValue::count(*count);
            return {};
        case ValueKind::Address:
            if (const std::optional<std::uint32_t> address = readAddress(cell))
                return CellValue::count(*address);
            return {};
        case ValueKind::Text:
            return {};
    }
    return {};
}

}  // namespace kestal
