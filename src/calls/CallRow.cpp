#include "calls/CallRow.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>

#include "calls/LineMatcher.h"
#include "calls/LinePositions.h"
#include "platform/RegionalNumbers.h"
#include "table/ValueReaders.h"

namespace kestal {

namespace {

namespace lm = linematch;

constexpr std::string_view kNoEndTime = "-                ";  // "-" and 16 blanks
constexpr std::string_view kNoDuration = "-       ";          // "-" and 7 blanks
constexpr std::string_view kNoLayerTime = "-";
constexpr int kSecondsPerDay = 24 * 60 * 60;
constexpr double kLongestLayerSeconds = 500.0;

constexpr std::uint32_t kAnyCounter =
    lm::BytesReceived | lm::BytesTransmitted | lm::FramesReceived | lm::FramesTransmitted |
    lm::CrcErrors | lm::TimeoutErrors | lm::AlignmentErrors | lm::OverrunErrors |
    lm::FramingErrors | lm::BufferOverrunErrors | lm::IncompletePackets;

constexpr auto kFirstLayerCell = static_cast<std::size_t>(kFirstLayerColumn);
constexpr auto kFirstCounterCell = static_cast<std::size_t>(kFirstCounterColumn);

// "hh:mm:ss" with the regional time separator.
std::string_view formatDuration(int seconds, char timeSeparator, std::array<char, 8>& buffer) {
    const int parts[3] = {seconds / 3600, seconds / 60 % 60, seconds % 60};
    for (int i = 0; i < 3; ++i) {
        buffer[static_cast<std::size_t>(i * 3)] = static_cast<char>('0' + parts[i] / 10);
        buffer[static_cast<std::size_t>(i * 3 + 1)] = static_cast<char>('0' + parts[i] % 10);
        if (i < 2) buffer[static_cast<std::size_t>(i * 3 + 2)] = timeSeparator;
    }
    return {buffer.data(), buffer.size()};
}

// The range rule read straight off what to_chars wrote ("[-]d+.d"): the
// same as reading the cell back, out when more than 500 or less than 0
// ("-0.0" reads as zero and stays). Nothing for any other text.
std::optional<bool> plainInRange(std::string_view digits) {
    const bool negative = !digits.empty() && digits.front() == '-';
    if (negative) digits.remove_prefix(1);
    if (digits.size() < 3 || digits[digits.size() - 2] != '.') return std::nullopt;
    int whole = 0;
    bool zero = true;
    const std::size_t wholeDigits = digits.size() - 2;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i == wholeDigits) continue;
        if (digits[i] < '0' || digits[i] > '9') return std::nullopt;
        zero = zero && digits[i] == '0';
        if (i < wholeDigits && wholeDigits <= 3) whole = whole * 10 + (digits[i] - '0');
    }
    if (negative) return zero;
    if (wholeDigits > 3) return false;
    const int tenth = digits.back() - '0';
    return whole < 500 || (whole == 500 && tenth == 0);
}

// The layer cell of a difference in whole tenths, for the separators that
// read like "." (see build).
std::string_view layerTextOfTenths(int tenths, char decimalSeparator,
                                   std::array<char, 64>& buffer) {
    if (tenths < 0 || tenths > 5000) return kNoLayerTime;  // below 0, over 500
    const int wholeSeconds = tenths / 10;
    std::size_t length = 0;
    if (wholeSeconds >= 100) buffer[length++] = static_cast<char>('0' + wholeSeconds / 100);
    if (wholeSeconds >= 10) buffer[length++] = static_cast<char>('0' + wholeSeconds / 10 % 10);
    buffer[length++] = static_cast<char>('0' + wholeSeconds % 10);
    buffer[length++] = decimalSeparator;
    buffer[length++] = static_cast<char>('0' + tenths % 10);
    return {buffer.data(), length};
}

// A layer cell: "%3.1f" with the regional decimal separator, then the range
// rule on the text as written.
std::string_view layerText(float seconds, char decimalSeparator, std::array<char, 64>& buffer) {
    char digits[60];
    const auto [end, error] =
        std::to_chars(digits, digits + sizeof digits, seconds, std::chars_format::fixed, 1);
    if (error != std::errc()) return kNoLayerTime;
    std::size_t length = static_cast<std::size_t>(end - digits);
    // With a separator that reads like "." the rule needs no reading back.
    const std::optional<bool> inRange = decimalSeparator == '.' || decimalSeparator == ','
                                            ? plainInRange(std::string_view(digits, length))
                                            : std::nullopt;
    if (inRange && !*inRange) return kNoLayerTime;
    for (std::size_t i = 0; i < length; ++i)
        if (digits[i] == '.') digits[i] = decimalSeparator;
    std::size_t pad = length < 3 ? 3 - length : 0;
    for (std::size_t i = 0; i < pad; ++i) buffer[i] = ' ';
    for (std::size_t i = 0; i < length; ++i) buffer[pad + i] = digits[i];
    const std::string_view text(buffer.data(), pad + length);
    if (inRange) return text;

    const std::optional<double> value = readNumber(text, decimalSeparator);
    if (!value || !std::isfinite(*value) || *value > kLongestLayerSeconds || *value < 0)
        return kNoLayerTime;
    return text;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

int twoDigits(std::string_view text, std::size_t at) {
    return (text[at] - '0') * 10 + (text[at + 1] - '0');
}

// A time of the shape the log writes ("hh:mm:ss" or "hh:mm:ss.f..."), read
// as layerSeconds reads it, directly: every call's row reads five. Anything
// else (blanks, signs, other lengths) is left to layerSeconds: false.
struct PlainTime {
    int hours = 0;
    int minutes = 0;
    int seconds = 0;
    int tenth = 0;  // 0 without a fraction
    int tenths() const { return hours * 36000 + minutes * 600 + seconds * 10 + tenth; }
};

bool readPlainTime(std::string_view time, char decimalSeparator, PlainTime& read) {
    if (time.size() != 8 && time.size() < 10) return false;
    for (const std::size_t at : {0, 1, 3, 4, 6, 7})
        if (!isDigit(time[at])) return false;
    read.tenth = 0;
    if (time.size() >= 10) {
        // "ss.f" reads alike with the log's "." and the regional separator
        // (one that is no digit).
        const char separator = time[8];
        if (!isDigit(time[9]) || isDigit(decimalSeparator) ||
            (separator != '.' && separator != decimalSeparator))
            return false;
        read.tenth = time[9] - '0';
    }
    read.hours = twoDigits(time, 0);
    read.minutes = twoDigits(time, 3);
    read.seconds = twoDigits(time, 6);
    return true;
}

// The seconds layerSeconds reads, in the same double-precision steps.
bool plainSeconds(std::string_view time, char decimalSeparator, double& seconds) {
    PlainTime read;
    if (!readPlainTime(time, decimalSeparator, read)) return false;
    const double wholeSeconds = static_cast<double>(read.seconds * 10 + read.tenth) / 10;
    seconds = read.hours * 3600 + read.minutes * 60 + wholeSeconds;
    return true;
}

float layerSecondsOf(std::string_view layerTime, std::string_view startReference,
                     char decimalSeparator) {
    double layer = 0;
    double start = 0;
    if (plainSeconds(layerTime, decimalSeparator, layer) &&
        plainSeconds(startReference, decimalSeparator, start))
        return static_cast<float>(layer) - static_cast<float>(start);
    return layerSeconds(layerTime, startReference, decimalSeparator);
}

// A counter cell as readCountCell reads it, at once for the log's own shape
// (blanks, then up to 19 digits): every call's row has eleven.
CellValue counterValue(std::string_view cell) {
    constexpr std::uint64_t kEightBlanks = 0x2020202020202020ull;
    const char* at = cell.data();
    const char* const end = at + cell.size();
    // The blanks eight at a time, the last few in one step: the first byte
    // that is no blank is the lowest that differs from one.
    static_assert(std::endian::native == std::endian::little);
    for (std::uint64_t eight = 0; end - at >= 8;) {
        std::memcpy(&eight, at, 8);
        if (eight != kEightBlanks) {
            at += std::countr_zero(eight ^ kEightBlanks) / 8;
            break;
        }
        at += 8;
    }
    while (at < end && *at == ' ') ++at;
    if (at == end) return {};  // blank or empty: no number
    const char* const digits = at;
    std::uint64_t count = 0;
    for (; at < end && isDigit(*at); ++at)
        count = count * 10 + static_cast<std::uint64_t>(*at - '0');
    if (at == end && end - digits <= 19) return CellValue::count(count);
    const std::optional<std::uint64_t> read = readCountCell(cell);
    return read ? CellValue::count(*read) : CellValue{};
}

// A time of day as the log writes it ("hh:mm:ss" with colons) read at once:
// what readLogTimeOfDay reads from such a text, whatever the regional
// separator; -1 for what it can't read. Every call's duration reads two (a
// plain int: an optional written to memory in two parts and read back whole
// stalled the processor at every call).
int timeOfDay(std::string_view text, char timeSeparator) {
    if (text.size() == 8 && text[2] == ':' && text[5] == ':' && isDigit(text[0]) &&
        isDigit(text[1]) && isDigit(text[3]) && isDigit(text[4]) && isDigit(text[6]) &&
        isDigit(text[7])) {
        const int hours = twoDigits(text, 0);
        const int minutes = twoDigits(text, 3);
        const int seconds = twoDigits(text, 6);
        if (hours > 23 || minutes > 59 || seconds > 59) return -1;
        return hours * 3600 + minutes * 60 + seconds;
    }
    return readLogTimeOfDay(text, timeSeparator).value_or(-1);
}

}  // namespace

float quickLayerSeconds(std::string_view layerTime, std::string_view startReference,
                        char decimalSeparator) {
    return layerSecondsOf(layerTime, startReference, decimalSeparator);
}

void takeLineValues(std::uint32_t texts, std::string_view line, CallSummary& call) {
    if (texts & kAnyCounter) {
        const std::string_view value = positions(line, 49, 67);
        for (std::size_t c = 0; c < kCounterColumns; ++c)
            if (texts & kCounterTexts[c]) call.counters[c] = value;
    }
    const std::string_view time = positions(line, 12, 22);
    for (std::size_t l = 0; l < kLayerColumns; ++l)
        if (texts & kLayerTexts[l]) call.layerTimes[l] = time;
}

// The duration cell: end minus start time of day, modulo a day.
std::string_view CallRowBuilder::durationText(const CallSummary& call) {
    const int start = timeOfDay(positions(call.startText, 12, 19), settings_.timeSeparator);
    const int end = timeOfDay(positions(call.endText, 12, 19), settings_.timeSeparator);
    // The warning is due even when the call was cut short and shows no
    // duration anyway.
    row_.corrupt = start < 0 || end < 0;
    row_.values[kDurationColumn] = {};
    if (row_.corrupt || call.cutShort) return kNoDuration;
    int difference = end - start;
    if (difference < 0) difference += kSecondsPerDay;  // past midnight
    if (difference <= 0) return kNoDuration;
    if (values_) row_.values[kDurationColumn] = CellValue::of(difference);
    return formatDuration(difference, settings_.timeSeparator, duration_);
}

// The value of a layer cell is the tenths its text shows ("2.6": 26).
void CallRowBuilder::layerCell(std::size_t layer, std::string_view text) {
    row_.cells[kFirstLayerCell + layer] = text;
    const std::optional<std::int64_t> tenths =
        text == kNoLayerTime || !values_ ? std::nullopt : readDecimalSteps(text, 1, settings_);
    row_.values[kFirstLayerCell + layer] = tenths ? CellValue::of(*tenths) : CellValue{};
}

const CallRow& CallRowBuilder::build(const CallSummary& call) {
    RowTexts& cells = row_.cells;
    std::array<CellValue, kColumnCount>& values = row_.values;
    row_.lines = call.lines;
    cells[0] = call.startText;
    cells[1] = call.cutShort ? kNoEndTime : call.endText;
    if (values_) {
        values[kStartTimeColumn] = readTimeValue(cells[0]);
        values[kEndTimeColumn] = readTimeValue(cells[1]);
    }
    row_.marks = marksOfCells(cells[1]);
    cells[2] = durationText(call);
    const std::string_view startReference = positions(call.startText, 12, 22);
    const char decimalSeparator = settings_.decimalSeparator;
    // Both times of the log's shape, the start in whole seconds: their
    // difference in float (as layerSeconds takes it) lies within 0.05 of
    // the exact difference in tenths (two roundings of at most 2^-6 each
    // below 100 hours), so rounding it to tenths gives that difference, and
    // no float is needed. A zero difference has no tenth: +0.0, not "-0.0".
    PlainTime start;
    const bool plainStart = (decimalSeparator == '.' || decimalSeparator == ',') &&
                            startReference.size() == 8 &&
                            readPlainTime(startReference, decimalSeparator, start);
    for (std::size_t l = 0; l < kLayerColumns; ++l) {
        PlainTime layer;
        if (plainStart && readPlainTime(call.layerTimes[l], decimalSeparator, layer)) {
            const int tenths = layer.tenths() - start.tenths();
            const std::string_view text = layerTextOfTenths(tenths, decimalSeparator, layers_[l]);
            cells[kFirstLayerCell + l] = text;
            values[kFirstLayerCell + l] =
                text == kNoLayerTime || !values_ ? CellValue{} : CellValue::of(tenths);
            continue;
        }
        const float seconds = layerSecondsOf(call.layerTimes[l], startReference, decimalSeparator);
        layerCell(l, layerText(seconds, decimalSeparator, layers_[l]));
    }
    for (std::size_t c = 0; c < kCounterColumns; ++c) {
        cells[kFirstCounterCell + c] = call.counters[c];
        if (values_) values[kFirstCounterCell + c] = counterValue(call.counters[c]);
    }
    return row_;
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

}  // namespace kestal
