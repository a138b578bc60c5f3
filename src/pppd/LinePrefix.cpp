#include "pppd/LinePrefix.h"

#include <ctime>

#include "pppd/JsonLine.h"

namespace kestal {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// n digits at pos as a number, pos moved past them; -1 when they aren't.
int number(std::string_view s, std::size_t& pos, std::size_t n) {
    if (pos + n > s.size()) return -1;
    int value = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const char c = s[pos + i];
        if (!isDigit(c)) return -1;
        value = value * 10 + (c - '0');
    }
    pos += n;
    return value;
}

bool take(std::string_view s, std::size_t& pos, char c) {
    if (pos >= s.size() || s[pos] != c) return false;
    ++pos;
    return true;
}

// hh:mm:ss, then any fraction of a second (cut off: times are shown to the
// second).
bool readClock(std::string_view s, std::size_t& pos, PrintedTime& time) {
    time.hour = number(s, pos, 2);
    if (time.hour < 0 || time.hour > 23 || !take(s, pos, ':')) return false;
    time.minute = number(s, pos, 2);
    if (time.minute < 0 || time.minute > 59 || !take(s, pos, ':')) return false;
    time.second = number(s, pos, 2);
    if (time.second < 0 || time.second > 60) return false;
    if (take(s, pos, '.') || take(s, pos, ',')) {
        while (pos < s.size() && isDigit(s[pos])) ++pos;
    }
    return true;
}

// YYYY-MM-DD
bool readDate(std::string_view s, std::size_t& pos, PrintedTime& time) {
    time.year = number(s, pos, 4);
    if (time.year < 0 || !take(s, pos, '-')) return false;
    time.month = number(s, pos, 2);
    if (time.month < 1 || time.month > 12 || !take(s, pos, '-')) return false;
    time.day = number(s, pos, 2);
    return time.day >= 1 && time.day <= 31;
}

// Z, +hh:mm, +hhmm or +hh (and the same with '-').
bool readOffset(std::string_view s, std::size_t& pos, std::optional<int>& offset) {
    if (take(s, pos, 'Z')) {
        offset = 0;
        return true;
    }
    if (pos >= s.size() || (s[pos] != '+' && s[pos] != '-')) return false;
    const int sign = s[pos] == '-' ? -1 : 1;
    ++pos;
    const int hours = number(s, pos, 2);
    if (hours < 0 || hours > 18) return false;
    int minutes = 0;
    const bool colon = take(s, pos, ':');
    if (colon || (pos < s.size() && isDigit(s[pos]))) {
        minutes = number(s, pos, 2);
        if (minutes < 0 || minutes > 59) return false;
    }
    offset = sign * (hours * 3600 + minutes * 60);
    return true;
}

// The day of a classic date: "dd", " d" or "d".
bool readDay(std::string_view s, std::size_t& pos, PrintedTime& time) {
    if (!take(s, pos, ' ')) return false;
    take(s, pos, ' ');
    std::size_t at = pos;
    int day = number(s, at, 2);
    if (day < 0) {
        at = pos;
        day = number(s, at, 1);
    }
    if (day < 1 || day > 31) return false;
    pos = at;
    time.day = day;
    return true;
}

bool isFacilityLevel(std::string_view token) {
    const std::size_t dot = token.find('.');
    if (dot == 0 || dot == std::string_view::npos || dot + 1 == token.size()) return false;
    for (const char c : token) {
        if (c != '.' && !(c >= 'a' && c <= 'z') && !isDigit(c)) return false;
    }
    return true;
}

// IDENT[PID]: MSG, or IDENT: MSG, at pos.
bool readIdent(std::string_view s, std::size_t pos, PrefixedLine& line) {
    const std::size_t start = pos;
    while (pos < s.size() && s[pos] != '[' && s[pos] != ':' && s[pos] != ' ') ++pos;
    if (pos == start || pos >= s.size()) return false;
    line.program = s.substr(start, pos - start);
    if (s[pos] == '[') {
        ++pos;
        long pid = 0;
        const std::size_t digits = pos;
        while (pos < s.size() && isDigit(s[pos]) && pos - digits < 10)
            pid = pid * 10 + (s[pos++] - '0');
        if (pos == digits || !take(s, pos, ']')) return false;
        line.pid = pid;
    }
    if (!take(s, pos, ':')) return false;
    if (pos < s.size() && !take(s, pos, ' ')) return false;
    line.message = s.substr(pos);
    return true;
}

std::size_t tokenEnd(std::string_view s, std::size_t pos) {
    const std::size_t end = s.find(' ', pos);
    return end == std::string_view::npos ? s.size() : end;
}

// What follows the time: [HOST] [FACILITY.LEVEL] IDENT[PID]: MSG.
bool readSource(std::string_view s, std::size_t pos, PrefixedLine& line) {
    if (!take(s, pos, ' ')) return false;
    if (readIdent(s, pos, line)) return true;
    std::size_t end = tokenEnd(s, pos);
    if (end >= s.size()) return false;
    pos = end + 1;
    if (readIdent(s, pos, line)) return true;
    end = tokenEnd(s, pos);
    if (end >= s.size() || !isFacilityLevel(s.substr(pos, end - pos))) return false;
    return readIdent(s, end + 1, line);
}

// Mmm dd hh:mm:ss HOST …
bool readClassic(std::string_view s, const MonthNames& months, PrefixedLine& line) {
    std::size_t length = 0;
    PrintedTime time;
    time.month = months.monthAt(s, length);
    std::size_t pos = length;
    if (time.month == 0 || !readDay(s, pos, time) || !take(s, pos, ' ') ||
        !readClock(s, pos, time)) {
        return false;
    }
    line.time = time;
    return readSource(s, pos, line);
}

// YYYY-MM-DDThh:mm:ss[.ffffff]±hh:mm HOST …
bool readIso(std::string_view s, PrefixedLine& line) {
    std::size_t pos = 0;
    PrintedTime time;
    if (!readDate(s, pos, time) || !take(s, pos, 'T') || !readClock(s, pos, time) ||
        !readOffset(s, pos, time.utcOffset)) {
        return false;
    }
    line.time = time;
    return readSource(s, pos, line);
}

// Www Mmm dd hh:mm:ss YYYY FACILITY.LEVEL … (OpenWrt) or
// Www YYYY-MM-DD hh:mm:ss TZ HOST … (journalctl -o short-full).
bool readWeekdayFirst(std::string_view s, const MonthNames& months, PrefixedLine& line) {
    std::size_t pos = tokenEnd(s, 0);
    if (pos == 0 || pos > 12 || !take(s, pos, ' ') || pos >= s.size()) return false;
    PrintedTime time;
    if (isDigit(s[pos])) {
        if (!readDate(s, pos, time) || !take(s, pos, ' ') || !readClock(s, pos, time) ||
            !take(s, pos, ' ')) {
            return false;
        }
        const std::size_t zoneEnd = tokenEnd(s, pos);
        const std::string_view zone = s.substr(pos, zoneEnd - pos);
        if (zone == "UTC" || zone == "GMT") {
            time.utcOffset = 0;
        } else {
            std::size_t at = pos;
            std::optional<int> offset;
            if (readOffset(s, at, offset) && at == zoneEnd) time.utcOffset = offset;
        }
        line.time = time;
        return readSource(s, zoneEnd, line);
    }
    std::size_t length = 0;
    time.month = months.monthAt(s.substr(pos), length);
    pos += length;
    if (time.month == 0 || !readDay(s, pos, time) || !take(s, pos, ' ') ||
        !readClock(s, pos, time) || !take(s, pos, ' ')) {
        return false;
    }
    time.year = number(s, pos, 4);
    if (time.year < 0) return false;
    line.time = time;
    return readSource(s, pos, line);
}

std::optional<PrefixedLine> readPrefixed(std::string_view s, const MonthNames& months,
                                         std::string& decoded) {
    PrefixedLine line;
    if (s.empty()) return std::nullopt;
    if (s.front() == '{') {
        if (readJsonLine(s, line, decoded)) return line;
        return std::nullopt;
    }
    if (isDigit(s.front())) {
        if (readIso(s, line)) return line;
        return std::nullopt;
    }
    if (readClassic(s, months, line)) return line;
    line = {};
    if (readWeekdayFirst(s, months, line)) return line;
    return std::nullopt;
}

}  // namespace

std::optional<PrefixedLine> readPrefix(std::string_view line, const MonthNames& months,
                                       std::string& decoded) {
    // A syslog priority, <N>, in front of any style.
    if (line.size() > 2 && line.front() == '<') {
        std::size_t pos = 1;
        while (pos < line.size() && pos < 5 && isDigit(line[pos])) ++pos;
        if (pos > 1 && pos < line.size() && line[pos] == '>') line.remove_prefix(pos + 1);
    }
    return readPrefixed(line, months, decoded);
}

std::optional<PrefixedLine> readPrefix(std::string_view line, const MonthNames& months) {
    thread_local std::string decoded;
    return readPrefix(line, months, decoded);
}

}  // namespace kestal
