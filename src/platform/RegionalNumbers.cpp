#include "platform/RegionalNumbers.h"

#include <charconv>
#include <cstdint>
#include <string>

namespace kestal {

namespace {

bool isBlank(char c) { return c == ' '; }

std::string_view trimBlanks(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Up to 15 decimal digits fit a double exactly, as do the powers of ten up
// to 10^15.
constexpr int kExactDigits = 15;
constexpr double kPowersOfTen[kExactDigits + 1] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                                   1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

}  // namespace

std::optional<double> readNumber(std::string_view text, char decimalSeparator) {
    text = trimBlanks(text);
    // Checked here rather than left to from_chars, which knows nothing of
    // the separator and would also take "inf", "nan" and hexadecimal.
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    std::uint64_t mantissa = 0;
    int digits = 0;
    int fractionDigits = 0;
    const std::size_t integerStart = i;
    for (; i < text.size() && isDigit(text[i]); ++i, ++digits)
        mantissa = mantissa * 10 + static_cast<std::uint64_t>(text[i] - '0');
    const std::size_t integerEnd = i;
    if (i < text.size() && text[i] == decimalSeparator) {
        for (++i; i < text.size() && isDigit(text[i]); ++i, ++digits, ++fractionDigits)
            mantissa = mantissa * 10 + static_cast<std::uint64_t>(text[i] - '0');
    }
    if (digits == 0) return std::nullopt;
    const std::size_t exponentStart = i;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
        int exponentDigits = 0;
        for (; i < text.size() && isDigit(text[i]); ++i, ++exponentDigits) {
        }
        if (exponentDigits == 0) return std::nullopt;
    }
    if (i != text.size()) return std::nullopt;

    double value = 0;
    if (exponentStart == text.size() && digits <= kExactDigits) {
        // Few digits and no exponent: the digits and the power of ten are
        // both exact doubles, so one division rounds correctly.
        value = static_cast<double>(mantissa) / kPowersOfTen[fractionDigits];
    } else {
        std::string plain(text.substr(integerStart, integerEnd - integerStart));
        if (integerEnd < exponentStart) {
            plain += '.';
            plain += text.substr(integerEnd + 1, exponentStart - integerEnd - 1);
        }
        plain += text.substr(exponentStart);
        const auto [end, error] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
        if (error != std::errc() || end != plain.data() + plain.size()) return std::nullopt;
    }
    return negative ? -value : value;
}

std::optional<int> readTimeOfDay(std::string_view text, char timeSeparator) {
    text = trimBlanks(text);
    int parts[3] = {0, 0, 0};
    std::size_t i = 0;
    for (int part = 0; part < 3; ++part) {
        if (part > 0) {
            if (i >= text.size() || text[i] != timeSeparator) return std::nullopt;
            ++i;
        }
        int digits = 0;
        for (; i < text.size() && isDigit(text[i]) && digits < 2; ++i, ++digits)
            parts[part] = parts[part] * 10 + (text[i] - '0');
        if (digits == 0) return std::nullopt;
    }
    if (i != text.size()) return std::nullopt;
    if (parts[0] > 23 || parts[1] > 59 || parts[2] > 59) return std::nullopt;
    return parts[0] * 3600 + parts[1] * 60 + parts[2];
}

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
