#include "pppd/QuickPrefix.h"

#include <algorithm>
#include <cstring>

#include "pppd/PppdMessages.h"

namespace kestal {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

int twoDigits(const char* p) { return (p[0] - '0') * 10 + (p[1] - '0'); }

int englishMonth(const char* p) {
    switch (p[0]) {
        case 'J':
            if (p[1] == 'a' && p[2] == 'n') return 1;
            if (p[1] == 'u' && p[2] == 'n') return 6;
            if (p[1] == 'u' && p[2] == 'l') return 7;
            return 0;
        case 'F':
            return p[1] == 'e' && p[2] == 'b' ? 2 : 0;
        case 'M':
            if (p[1] != 'a') return 0;
            return p[2] == 'r' ? 3 : p[2] == 'y' ? 5 : 0;
        case 'A':
            if (p[1] == 'p' && p[2] == 'r') return 4;
            if (p[1] == 'u' && p[2] == 'g') return 8;
            return 0;
        case 'S':
            return p[1] == 'e' && p[2] == 'p' ? 9 : 0;
        case 'O':
            return p[1] == 'c' && p[2] == 't' ? 10 : 0;
        case 'N':
            return p[1] == 'o' && p[2] == 'v' ? 11 : 0;
        case 'D':
            return p[1] == 'e' && p[2] == 'c' ? 12 : 0;
        default:
            return 0;
    }
}

// The next blank from at, or end. Tokens here are short, but memchr reads
// them a vector at a time.
const char* blankFrom(const char* at, const char* end) {
    const void* blank = std::memchr(at, ' ', static_cast<std::size_t>(end - at));
    return blank == nullptr ? end : static_cast<const char*>(blank);
}

bool holds(const char* from, const char* to, char c) {
    return std::memchr(from, c, static_cast<std::size_t>(to - from)) != nullptr;
}

// daemon.notice, local2.info: lower-case letters and digits about a dot.
bool isFacilityLevel(const char* from, const char* to) {
    const void* found = std::memchr(from, '.', static_cast<std::size_t>(to - from));
    const char* dot = static_cast<const char*>(found);
    if (dot == nullptr || dot == from || dot + 1 == to) return false;
    return std::all_of(from, to,
                       [](char c) { return c == '.' || (c >= 'a' && c <= 'z') || isDigit(c); });
}

bool isPppdOrChat(const char* ident, std::size_t size) {
    if (size < 5 || (ident[4] != '[' && ident[4] != ':')) return false;
    const std::string_view name(ident, 4);
    return name == "pppd" || name == "chat";
}

}  // namespace

std::optional<QuickLine> readQuickly(std::string_view s) {
    if (s.size() < 20) return std::nullopt;
    const char* p = s.data();
    QuickLine quick;
    PrintedTime& t = quick.time;
    t.month = englishMonth(p);
    if (t.month == 0 || p[3] != ' ' || p[6] != ' ' || p[9] != ':' || p[12] != ':') {
        return std::nullopt;
    }
    if (!(p[4] == ' ' || isDigit(p[4])) || !isDigit(p[5]) || !isDigit(p[7]) || !isDigit(p[8]) ||
        !isDigit(p[10]) || !isDigit(p[11]) || !isDigit(p[13]) || !isDigit(p[14])) {
        return std::nullopt;
    }
    t.day = p[4] == ' ' ? p[5] - '0' : twoDigits(p + 4);
    t.hour = twoDigits(p + 7);
    t.minute = twoDigits(p + 10);
    t.second = twoDigits(p + 13);
    if (t.day < 1 || t.day > 31 || t.hour > 23 || t.minute > 59 || t.second > 60) {
        return std::nullopt;
    }
    std::size_t pos = 15;
    if (p[pos] == '.') {
        ++pos;
        while (pos < s.size() && isDigit(s[pos])) ++pos;
    }
    if (pos >= s.size() || s[pos] != ' ') return std::nullopt;
    const char* const end = p + s.size();
    const char* at = p + pos + 1;
    const char* hostEnd = blankFrom(at, end);
    // A line without HOST: the whole reader takes it.
    if (hostEnd == at || hostEnd == end || hostEnd[-1] == ':' || holds(at, hostEnd, '[')) {
        return std::nullopt;
    }
    at = hostEnd + 1;
    const char* identEnd = blankFrom(at, end);
    if (identEnd > at && identEnd[-1] != ':' && isFacilityLevel(at, identEnd)) {
        if (identEnd == end) return std::nullopt;
        at = identEnd + 1;  // FACILITY.LEVEL
        identEnd = blankFrom(at, end);
    }
    const std::size_t size = static_cast<std::size_t>(identEnd - at);
    // IDENT or IDENT[PID], nothing else in it: its only colon the last byte.
    if (size < 2 || identEnd[-1] != ':' || holds(at, identEnd - 1, ':') || isPppdOrChat(at, size)) {
        return std::nullopt;
    }
    const char* bracket = static_cast<const char*>(std::memchr(at, '[', size));
    if (bracket == at) return std::nullopt;
    if (bracket != nullptr) {
        const char* digit = bracket + 1;
        if (identEnd - digit < 3 || identEnd[-2] != ']') return std::nullopt;
        for (; digit < identEnd - 2; ++digit) {
            if (!isDigit(*digit)) return std::nullopt;
        }
    }
    const std::string_view message =
        identEnd == end ? std::string_view{} : std::string_view(identEnd + 1, end);
    // Another program's line that says what pppd says may be pppd's copied.
    if (readMessage(withoutEcho(message)).kind != PppdMessage::Other) return std::nullopt;
    return quick;
}

}  // namespace kestal
