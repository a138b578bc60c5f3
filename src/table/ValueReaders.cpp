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

// Days from 1970-01-01 to a date of the proleptic Gregorian calendar
// (Howard Hinnant's days_from_civil), as std::chrono::sys_days counts them.
std::int64_t daysFromCivil(int year, unsigned month, unsigned day) {
    year -= month <= 2;
    const int era = (year >= 0 ? year : year - 399) / 400;
    const auto yearOfEra = static_cast<unsigned>(year - era * 400);
    const unsigned dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const unsigned dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return std::int64_t{era} * 146097 + static_cast<std::int64_t>(dayOfEra) - 719468;
}

// A cell of exactly the log's shape, "MM-DD-YYYY hh:mm:ss", read at once:
// every call's row has two. False for anything else, which the readers
// below then take (they give the same for what this reads).
bool readPlainDateTime(std::string_view cell, std::int64_t& seconds) {
    if (cell.size() != 19 || cell[2] != '-' || cell[5] != '-' || cell[10] != ' ' ||
        cell[13] != ':' || cell[16] != ':')
        return false;
    // Each character less '0': a digit is then 0 to 9 taken unsigned.
    const auto at = [cell](std::size_t i) { return static_cast<unsigned>(cell[i] - '0'); };
    const bool notDigits = (at(0) > 9) | (at(1) > 9) | (at(3) > 9) | (at(4) > 9) | (at(6) > 9) |
                           (at(7) > 9) | (at(8) > 9) | (at(9) > 9) | (at(11) > 9) | (at(12) > 9) |
                           (at(14) > 9) | (at(15) > 9) | (at(17) > 9) | (at(18) > 9);
    if (notDigits) return false;
    const unsigned month = at(0) * 10 + at(1);
    const unsigned day = at(3) * 10 + at(4);
    const auto year = static_cast<int>(at(6) * 1000 + at(7) * 100 + at(8) * 10 + at(9));
    const auto hours = static_cast<int>(at(11) * 10 + at(12));
    const auto minutes = static_cast<int>(at(14) * 10 + at(15));
    const auto secs = static_cast<int>(at(17) * 10 + at(18));
    if (month < 1 || month > 12 || day < 1 || hours > 23 || minutes > 59 || secs > 59) return false;
    static constexpr unsigned kMonthDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
    if (day > kMonthDays[month - 1] + (month == 2 && leap ? 1u : 0u)) return false;
    seconds = daysFromCivil(year, month, day) * 86400 + hours * 3600 + minutes * 60 + secs;
    return true;
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
    if (std::int64_t seconds = 0; readPlainDateTime(cell, seconds)) return CellValue::of(seconds);
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
