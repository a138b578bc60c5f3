// Telling a PPP log from any other file by its first bytes.
#include "lines/LooksLikeLog.h"

#include <string>

namespace kestal {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

bool isTextByte(unsigned char c) {
    if (c >= 0x20) return c != 0x7f;
    return c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r' || c == 0x1a || c == '\0';
}

// Where the date's fields stand in "12-01-2026 ".
constexpr std::size_t kDateDigits[] = {0, 1, 3, 4, 6, 7, 8, 9};
// Where the " - " after the time may stand: after a time of at least
// "h:mm:ss", and well before 40 even with a region's AM/PM text.
constexpr std::size_t kTextStartsFrom = 18;
constexpr std::size_t kTextStartsBefore = 40;

}  // namespace

bool isDialUpLogLine(std::string_view line) {
    if (line.size() < kTextStartsFrom + 3) return false;
    for (const std::size_t at : kDateDigits)
        if (!isDigit(line[at])) return false;
    const char separator = line[2];
    if (separator == ' ' || isDigit(separator) || line[5] != separator) return false;
    if (line[10] != ' ' || !isDigit(line[11])) return false;
    const std::size_t dash = line.find(" - ", kTextStartsFrom);
    return dash != std::string_view::npos && dash < kTextStartsBefore;
}

bool looksLikePppLog(std::string_view firstBytes) {
    for (const char c : firstBytes)
        if (!isTextByte(static_cast<unsigned char>(c))) return false;
    if (firstBytes.find_first_not_of(std::string_view("\0", 1)) == std::string_view::npos)
        return firstBytes.empty();
    // NUL bytes left out, as the repair of a damaged log leaves them out.
    std::string text(firstBytes);
    std::erase(text, '\0');
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) end = text.size();
        if (isDialUpLogLine(std::string_view(text).substr(start, end - start))) return true;
        start = end + 1;
    }
    return false;
}

}  // namespace kestal
