#include "log/CallScan.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <thread>
#include <vector>

#include "log/CallRow.h"
#include "log/LineMatcher.h"
#include "log/LogSeparators.h"
#include "log/ReadAhead.h"
#include "log/SideBySide.h"

namespace kestal {

namespace {

namespace lm = linematch;

// Logs of this many lines are walked by two threads (when there are two
// processors); a shorter one is walked before a thread would start.
constexpr std::size_t kTwoThreadMinimumLines = 1 << 18;
// How far past the middle the second thread's first call is looked for.
constexpr std::size_t kSplitSearchLines = 1 << 16;

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

// Writes one call's row where the scan writes it (see CallTable::addCall),
// which becomes the current row.
void writeCallRow(const CallSummary& call, CallRowBuilder& rows, CallTable& table,
                  const CorruptCallHandler& onCorruptCall) {
    const CallRow& row = rows.build(call);
    if (row.corrupt && onCorruptCall) onCorruptCall(call.startText);
    table.setCurrentRow(table.addCall(row.cells));
    table.setCurrentColumn(0);
}

std::string_view lineReadingAhead(const LogLines& lines, std::size_t index) {
    const std::string_view line = lines[index];
    readAhead(line);
    return line;
}

// Writes the rows of the calls that open at lines first to stop - 1; the
// last of them may run on past stop.
void scanRange(const LogLines& lines, std::size_t first, std::size_t stop, CallTable& table,
               const RegionalSettings& settings, const CorruptCallHandler& onCorruptCall) {
    const std::size_t count = lines.size();
    CallRowBuilder rows(settings);
    std::size_t next = first;  // index of the line after the current one
    std::string_view current;
    // A "log opened" line that cut the previous call short opens the next
    // call, also when it is the log's last line.
    bool opensNext = false;
    for (;;) {
        if (!opensNext) {
            if (next >= stop) break;
            current = lineReadingAhead(lines, next++);
            if (!(lm::matchLine(current) & lm::LogOpened)) continue;
        } else if (next - 1 >= stop) {
            break;
        }
        opensNext = false;

        CallSummary call;
        call.startText = positions(current, 1, 19);
        while (next < count) {
            current = lineReadingAhead(lines, next++);
            const std::uint32_t texts = lm::matchLine(current);
            if (texts & lm::LogOpened) {
                call.cutShort = true;
                opensNext = true;
                break;
            }
            if (texts != 0) takeLineValues(texts, current, call);
            if (texts & lm::LogClosed) break;
        }
        call.endText = positions(current, 1, 19);
        writeCallRow(call, rows, table, onCorruptCall);
    }
}

// What the second thread walking a log works on, in cache lines of its own
// (were they to share one with what the first thread writes, the two would
// slow each other down).
struct alignas(64) LaterCalls {
    CallTable table;
    std::vector<std::string_view> corrupt;  // told once the earlier calls are
};

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

float layerSeconds(std::string_view layerTime, std::string_view startReference,
                   char decimalSeparator) {
    auto secondsOf = [decimalSeparator](std::string_view time) -> std::optional<double> {
        const std::optional<double> hours = readLogNumber(positions(time, 1, 2), decimalSeparator);
        const std::optional<double> minutes =
            readLogNumber(positions(time, 4, 5), decimalSeparator);
        const std::optional<double> seconds =
            readLogNumber(positions(time, 7, 10), decimalSeparator);
        if (!hours || !minutes || !seconds) return std::nullopt;
        return *hours * 3600 + *minutes * 60 + *seconds;
    };
    const std::optional<double> layer = secondsOf(layerTime);
    const std::optional<double> start = secondsOf(startReference);
    if (!layer || !start) return -1.0f;
    // Both held in single precision, and the difference taken in it too:
    // 13:59:04.9 counts as 0.8984375 seconds after 13:59:04.
    const float layerSeconds = static_cast<float>(*layer);
    const float startSeconds = static_cast<float>(*start);
    return layerSeconds - startSeconds;
}

void scanCalls(const LogLines& lines, CallTable& table, const RegionalSettings& settings,
               const CorruptCallHandler& onCorruptCall) {
    std::size_t split = lines.size();
    if (lines.size() >= kTwoThreadMinimumLines && std::thread::hardware_concurrency() >= 2) {
        // The first call opening in the middle; a log with none there (one
        // endless call, say) is walked by one thread.
        const std::size_t middle = lines.size() / 2;
        const std::size_t end = std::min(lines.size(), middle + kSplitSearchLines);
        for (std::size_t i = middle; i < end; ++i) {
            if (lm::matchLine(lines[i]) & lm::LogOpened) {
                split = i;
                break;
            }
        }
    }
    scanCalls(lines, table, settings, onCorruptCall, split);
}

void scanCalls(const LogLines& lines, CallTable& table, const RegionalSettings& settings,
               const CorruptCallHandler& onCorruptCall, std::size_t split) {
    // A "log opened" line always opens a call, whatever came before it: the
    // walk can start afresh there. The calls opening before it end at it at
    // the latest.
    while (split < lines.size() && !(lm::matchLine(lines[split]) & lm::LogOpened)) ++split;
    if (split >= lines.size()) {
        scanRange(lines, 0, lines.size(), table, settings, onCorruptCall);
    } else {
        LaterCalls later;
        runSideBySide(
            [&] {
                scanRange(
                    lines, split, lines.size(), later.table, settings,
                    [&later](std::string_view startText) { later.corrupt.push_back(startText); });
            },
            [&] { scanRange(lines, 0, split, table, settings, onCorruptCall); });
        table.appendCalls(std::move(later.table));
        if (onCorruptCall) {
            for (const std::string_view startText : later.corrupt) onCorruptCall(startText);
        }
    }
    table.setCurrentRow(1);
    table.setCurrentColumn(0);
}

void scanCallsFrom(const LogLines& lines, std::size_t first, CallTable& table,
                   const RegionalSettings& settings, const CorruptCallHandler& onCorruptCall) {
    scanRange(lines, std::min(first, lines.size()), lines.size(), table, settings, onCorruptCall);
    table.setCurrentRow(1);
    table.setCurrentColumn(0);
}

std::optional<std::string> callCountText(const CallTable& table) {
    const int calls = table.rowCount() - 1;
    if (calls <= 2) return std::nullopt;
    return std::to_string(calls) + " Calls";
}

}  // namespace kestal
