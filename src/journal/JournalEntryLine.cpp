#include "journal/JournalEntryLine.h"

#include <charconv>
#include <ctime>

namespace kestal {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The reader's own rule for _PID: a whole number of up to 18 digits, kept
// when it fits an int.
std::optional<long> pidValue(std::optional<std::string_view> text) {
    if (!text || text->empty() || text->size() > 18) return std::nullopt;
    long long value = 0;
    for (const char c : *text) {
        if (!isDigit(c)) return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (value > 0x7fffffff) return std::nullopt;
    return static_cast<long>(value);
}

// A name the short style carries as a word: no blank, bracket, colon, quote
// or control byte.
bool isPlainWord(std::string_view word) {
    if (word.empty()) return false;
    for (const char c : word) {
        const auto u = static_cast<unsigned char>(c);
        if (u <= ' ' || u == 0x7f || c == '[' || c == ']' || c == ':' || c == '"' || c == '\\' ||
            c == '{' || c == '<')
            return false;
    }
    return true;
}

bool hasControlByte(std::string_view text) {
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (u < ' ' && c != '\t') return true;
    }
    return false;
}

struct LocalSecond {
    std::int64_t second = 0;
    std::tm local{};
};

// The local time of a second; entries come in bursts of one second, so the
// last answer is kept.
const std::tm& localTimeOf(std::int64_t second) {
    thread_local LocalSecond last{-1, {}};
    thread_local bool known = false;
    if (!known || last.second != second) {
        const auto seconds = static_cast<std::time_t>(second);
        localtime_r(&seconds, &last.local);
        last.second = second;
        known = true;
    }
    return last.local;
}

void appendNumber(std::string& text, long long value, int width) {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    for (auto n = end - digits; n < width; ++n) text += '0';
    text.append(digits, end);
}

// YYYY-MM-DDThh:mm:ss±hh:mm, or false when the style can't print the time
// as the reader would take it from the entry's timestamp.
bool appendIsoTime(std::int64_t usec, std::string& text) {
    // journalctl's JSON gives the reader at most 18 digits.
    if (usec < 0 || usec >= 1000000000000000000LL) return false;
    const std::tm& t = localTimeOf(usec / 1000000);
    const long offset = t.tm_gmtoff;
    const int year = t.tm_year + 1900;
    if (year < 1000 || year > 9999 || offset % 60 != 0 || offset > 18 * 3600 || offset < -18 * 3600)
        return false;
    appendNumber(text, year, 4);
    text += '-';
    appendNumber(text, t.tm_mon + 1, 2);
    text += '-';
    appendNumber(text, t.tm_mday, 2);
    text += 'T';
    appendNumber(text, t.tm_hour, 2);
    text += ':';
    appendNumber(text, t.tm_min, 2);
    text += ':';
    appendNumber(text, t.tm_sec, 2);
    text += offset < 0 ? '-' : '+';
    const long minutes = (offset < 0 ? -offset : offset) / 60;
    appendNumber(text, minutes / 60, 2);
    text += ':';
    appendNumber(text, minutes % 60, 2);
    return true;
}

void appendJsonString(std::string_view value, std::string& text) {
    static constexpr char kHex[] = "0123456789abcdef";
    text += '"';
    for (const char c : value) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            text += '\\';
            text += c;
        } else if (c == '\n') {
            text += "\\n";
        } else if (u < ' ') {
            text += "\\u00";
            text += kHex[u >> 4];
            text += kHex[u & 15];
        } else {
            text += c;
        }
    }
    text += '"';
}

void appendJsonLine(const JournalEntry& entry, std::string& text) {
    text += "{\"__REALTIME_TIMESTAMP\":\"";
    appendNumber(text, entry.realtimeUsec, 1);
    text += '"';
    if (entry.hostname) {
        text += ",\"_HOSTNAME\":";
        appendJsonString(*entry.hostname, text);
    }
    if (entry.identifier) {
        text += ",\"SYSLOG_IDENTIFIER\":";
        appendJsonString(*entry.identifier, text);
    }
    if (entry.pid) {
        text += ",\"_PID\":";
        appendJsonString(*entry.pid, text);
    }
    text += ",\"MESSAGE\":";
    appendJsonString(entry.message, text);
    text += "}\n";
}

}  // namespace

void appendEntryLine(const JournalEntry& entry, std::string& text) {
    const std::size_t start = text.size();
    if (entry.identifier && isPlainWord(*entry.identifier) && !hasControlByte(entry.message) &&
        appendIsoTime(entry.realtimeUsec, text)) {
        text += ' ';
        if (entry.hostname && isPlainWord(*entry.hostname)) {
            text += *entry.hostname;
            text += ' ';
        }
        text += *entry.identifier;
        if (const auto pid = pidValue(entry.pid)) {
            text += '[';
            appendNumber(text, *pid, 1);
            text += ']';
        }
        text += ": ";
        text += entry.message;
        text += '\n';
        return;
    }
    text.resize(start);
    appendJsonLine(entry, text);
}

}  // namespace kestal
