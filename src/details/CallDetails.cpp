#include "details/CallDetails.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

#include "bytes/ReadAhead.h"
#include "details/GatherDetails.h"
#include "platform/AsciiCase.h"

namespace kestal {

namespace {

// An address is written as 8 hexadecimal digits.
constexpr std::size_t kAddressLength = 8;

// The texts after which a line holds a hexadecimal address, in the order
// they are tried.
constexpr std::array<std::string_view, 3> kAddressKeys = {"IP address of ", "DNS ", "from 0 to "};

using detailsgather::contains;

int hexDigitValue(char c) {
    const std::size_t position = kHexDigits.find(toUpperAscii(c));
    return position == std::string_view::npos ? 0 : static_cast<int>(position) + 1;
}

void appendDecimal(std::string& out, int value) {
    char digits[4];
    int count = 0;
    do {
        digits[count++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value > 0);
    while (count > 0) out.push_back(digits[--count]);
}

template <typename Annotate>
std::vector<std::string> gather(const LogLines& lines, std::string_view startTime,
                                const DetailsWarningHandler& onWarning, const Annotate& annotate) {
    std::vector<std::string> gathered;
    std::size_t next = 0;
    detailsgather::gatherLines(
        [&lines, &next](std::string_view& line) {
            if (next >= lines.size()) return false;
            line = lines[next++];
            readAhead(line);
            return true;
        },
        startTime, onWarning, annotate,
        [&gathered](std::string&& line) { gathered.push_back(std::move(line)); });
    return gathered;
}

}  // namespace

std::string hexToDottedQuad(std::string_view text) {
    text = text.substr(0, std::min(text.size(), kAddressLength));
    // A seven-digit address followed by the full stop of a sentence: the
    // leading zero the log left out is put back.
    std::array<char, kAddressLength> digits{};
    std::size_t length = 0;
    if (contains(text, ".")) digits[length++] = '0';
    for (std::size_t k = 0; k < text.size() && length < kAddressLength; ++k) {
        digits[length++] = text[k];
    }

    std::string result = " (";
    for (std::size_t part = 0; part < 4; ++part) {
        const std::size_t k = part * 2;
        const int high = k < length ? hexDigitValue(digits[k]) : 0;
        const int low = k + 1 < length ? hexDigitValue(digits[k + 1]) : 0;
        if (part > 0) result.push_back('.');
        appendDecimal(result, 16 * high + low);
    }
    result.push_back(')');
    return result;
}

std::string annotateLine(std::string_view line) {
    std::string annotated(line);
    for (const std::string_view key : kAddressKeys) {
        // Each key is searched in the line as annotated so far; the address
        // after a key near the end may so run into an earlier annotation.
        const std::size_t keyAt = annotated.find(key);
        if (keyAt == std::string::npos) continue;
        const std::string_view address =
            std::string_view(annotated).substr(keyAt + key.size(), kAddressLength);
        annotated += hexToDottedQuad(address);
    }
    return annotated;
}

std::vector<std::string> gatherCallDetails(const LogLines& lines, std::string_view startTime,
                                           const DetailsWarningHandler& onWarning) {
    return gather(lines, startTime, onWarning, annotateLine);
}

std::vector<std::string> gatherCallDetails(const LogLines& lines, std::string_view startTime,
                                           const DetailsWarningHandler& onWarning,
                                           const LineAnnotator& annotate) {
    return gather(lines, startTime, onWarning, annotate);
}

}  // namespace kestal
