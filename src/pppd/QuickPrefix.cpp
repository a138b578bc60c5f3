#include "pppd/QuickPrefix.h"

#include <algorithm>

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

// The token from pos to the next blank (or the end). Tokens here are short:
// a plain loop beats a call to memchr.
std::string_view tokenAt(std::string_view s, std::size_t pos) {
    std::size_t end = pos;
    while (end < s.size() && s[end] != ' ') ++end;
    return s.substr(std::min(pos, s.size()), end - std::min(pos, end));
}

// Where c first stands in token, or npos.
std::size_t findIn(std::string_view token, char c) {
    for (std::size_t i = 0; i < token.size(); ++i) {
        if (token[i] == c) return i;
    }
    return std::string_view::npos;
}

// daemon.notice, local2.info: lower-case letters and digits about a dot.
bool isFacilityLevel(std::string_view token) {
    const std::size_t dot = findIn(token, '.');
    if (dot == 0 || dot == std::string_view::npos || dot + 1 == token.size()) return false;
    for (const char c : token) {
        if (c != '.' && !(c >= 'a' && c <= 'z') && !isDigit(c)) return false;
    }
    return true;
}

bool isPppdOrChat(std::string_view ident) {
    return ident.size() >= 5 && (ident.starts_with("pppd") || ident.starts_with("chat")) &&
           (ident[4] == '[' || ident[4] == ':');
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
    const std::string_view host = tokenAt(s, pos + 1);
    // A line without HOST: the whole reader takes it.
    if (host.empty() || host.back() == ':' || findIn(host, '[') != std::string_view::npos) {
        return std::nullopt;
    }
    pos += 1 + host.size() + 1;
    std::string_view ident = tokenAt(s, pos);
    if (isFacilityLevel(ident)) {
        pos += ident.size() + 1;  // FACILITY.LEVEL
        ident = tokenAt(s, pos);
    }
    if (ident.size() < 2 || ident.back() != ':' || isPppdOrChat(ident)) return std::nullopt;
    // IDENT or IDENT[PID], nothing else in it: its only colon the last byte.
    if (findIn(ident, ':') != ident.size() - 1) return std::nullopt;
    const std::size_t bracket = findIn(ident, '[');
    if (bracket == 0) return std::nullopt;
    if (bracket != std::string_view::npos) {
        if (ident.size() < bracket + 4 || ident[ident.size() - 2] != ']') return std::nullopt;
        for (std::size_t i = bracket + 1; i + 2 < ident.size(); ++i) {
            if (!isDigit(ident[i])) return std::nullopt;
        }
    }
    pos += ident.size();
    if (pos < s.size()) ++pos;
    const std::string_view message = s.substr(pos);
    // Another program's line that says what pppd says may be pppd's copied.
    if (readMessage(withoutEcho(message)).kind != PppdMessage::Other) return std::nullopt;
    return quick;
}

}  // namespace kestal
