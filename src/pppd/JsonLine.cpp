#include "pppd/JsonLine.h"

#include <ctime>

namespace kestal {

namespace {

// A walk over one JSON object that keeps only what the reader asks for.
class JsonWalk {
public:
    explicit JsonWalk(std::string_view text) : s_(text) {}

    void blanks() {
        while (pos_ < s_.size() && (s_[pos_] == ' ' || s_[pos_] == '\t' || s_[pos_] == '\r'))
            ++pos_;
    }
    bool take(char c) {
        blanks();
        if (pos_ >= s_.size() || s_[pos_] != c) return false;
        ++pos_;
        return true;
    }
    bool peek(char c) {
        blanks();
        return pos_ < s_.size() && s_[pos_] == c;
    }
    bool atEnd() {
        blanks();
        return pos_ == s_.size();
    }
    // A string's raw text between its quotes; escaped when it holds a backslash.
    bool string(std::string_view& raw, bool& escaped) {
        if (!take('"')) return false;
        const std::size_t start = pos_;
        escaped = false;
        while (pos_ < s_.size() && s_[pos_] != '"') {
            if (s_[pos_] == '\\') {
                escaped = true;
                ++pos_;
            }
            ++pos_;
        }
        if (pos_ >= s_.size()) return false;
        raw = s_.substr(start, pos_ - start);
        ++pos_;
        return true;
    }
    // A number's text.
    bool numberText(std::string_view& text) {
        blanks();
        const std::size_t start = pos_;
        while (pos_ < s_.size() &&
               (std::string_view("+-.eE").find(s_[pos_]) != std::string_view::npos ||
                (s_[pos_] >= '0' && s_[pos_] <= '9'))) {
            ++pos_;
        }
        text = s_.substr(start, pos_ - start);
        return !text.empty();
    }
    bool skipValue(int depth = 0) {
        if (depth > 64) return false;
        blanks();
        if (pos_ >= s_.size()) return false;
        const char c = s_[pos_];
        std::string_view text;
        bool escaped = false;
        if (c == '"') return string(text, escaped);
        if (c == '{' || c == '[') {
            const char close = c == '{' ? '}' : ']';
            ++pos_;
            if (take(close)) return true;
            do {
                if (c == '{' && (!string(text, escaped) || !take(':'))) return false;
                if (!skipValue(depth + 1)) return false;
            } while (take(','));
            return take(close);
        }
        for (const std::string_view word : {"null", "true", "false"}) {
            if (s_.substr(pos_).starts_with(word)) {
                pos_ += word.size();
                return true;
            }
        }
        return numberText(text);
    }

private:
    std::string_view s_;
    std::size_t pos_ = 0;
};

void appendUtf8(std::string& out, unsigned code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xc0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3f));
    } else {
        out += static_cast<char>(0xe0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3f));
        out += static_cast<char>(0x80 | (code & 0x3f));
    }
}

bool unescape(std::string_view raw, std::string& out) {
    out.clear();
    for (std::size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] != '\\') {
            out += raw[i];
            continue;
        }
        if (++i >= raw.size()) return false;
        switch (raw[i]) {
            case 'n':
                out += '\n';
                break;
            case 't':
                out += '\t';
                break;
            case 'r':
                out += '\r';
                break;
            case 'b':
                out += '\b';
                break;
            case 'f':
                out += '\f';
                break;
            case 'u': {
                unsigned code = 0;
                for (int k = 1; k <= 4; ++k) {
                    if (i + k >= raw.size()) return false;
                    const char h = raw[i + k];
                    code <<= 4;
                    if (h >= '0' && h <= '9')
                        code |= static_cast<unsigned>(h - '0');
                    else if (h >= 'a' && h <= 'f')
                        code |= static_cast<unsigned>(h - 'a' + 10);
                    else if (h >= 'A' && h <= 'F')
                        code |= static_cast<unsigned>(h - 'A' + 10);
                    else
                        return false;
                }
                i += 4;
                appendUtf8(out, code);
                break;
            }
            default:
                out += raw[i];
        }
    }
    return true;
}

bool wholeNumber(std::string_view text, long long& value) {
    if (text.empty() || text.size() > 18) return false;
    value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
    }
    return true;
}

// A field's value as a whole number, quoted (as journalctl writes them) or not.
bool readWhole(JsonWalk& walk, long long& value, bool& valid) {
    std::string_view text;
    bool escaped = false;
    if (walk.peek('"')) {
        if (!walk.string(text, escaped)) return false;
    } else if (!walk.numberText(text)) {
        return walk.skipValue();
    }
    valid = wholeNumber(text, value);
    return true;
}

// MESSAGE: a string, or an array of byte values.
bool readMessage(JsonWalk& walk, PrefixedLine& read, std::string& decoded) {
    std::string_view raw;
    bool escaped = false;
    if (walk.peek('"')) {
        if (!walk.string(raw, escaped)) return false;
        if (!escaped) {
            read.message = raw;
            return true;
        }
        if (!unescape(raw, decoded)) return false;
        read.message = decoded;
        return true;
    }
    if (!walk.take('[')) return walk.skipValue();
    decoded.clear();
    if (!walk.take(']')) {
        do {
            std::string_view text;
            long long byte = 0;
            if (!walk.numberText(text) || !wholeNumber(text, byte) || byte > 255) return false;
            decoded += static_cast<char>(byte);
        } while (walk.take(','));
        if (!walk.take(']')) return false;
    }
    read.message = decoded;
    return true;
}

PrintedTime localTime(long long microseconds) {
    const std::time_t seconds = static_cast<std::time_t>(microseconds / 1000000);
    std::tm local{};
    localtime_r(&seconds, &local);
    PrintedTime time;
    time.year = local.tm_year + 1900;
    time.month = local.tm_mon + 1;
    time.day = local.tm_mday;
    time.hour = local.tm_hour;
    time.minute = local.tm_min;
    time.second = local.tm_sec;
    time.utcOffset = static_cast<int>(local.tm_gmtoff);
    return time;
}

}  // namespace

bool readJsonLine(std::string_view line, PrefixedLine& read, std::string& decoded) {
    JsonWalk walk(line);
    if (!walk.take('{')) return false;
    bool message = false;
    if (!walk.take('}')) {
        do {
            std::string_view key;
            bool escaped = false;
            if (!walk.string(key, escaped) || !walk.take(':')) return false;
            if (key == "MESSAGE") {
                if (!readMessage(walk, read, decoded)) return false;
                message = true;
            } else if (key == "SYSLOG_IDENTIFIER") {
                std::string_view ident;
                if (walk.peek('"')) {
                    if (!walk.string(ident, escaped)) return false;
                    if (!escaped) read.program = ident;
                } else if (!walk.skipValue()) {
                    return false;
                }
            } else if (key == "_PID") {
                long long pid = 0;
                bool valid = false;
                if (!readWhole(walk, pid, valid)) return false;
                if (valid && pid <= 0x7fffffff) read.pid = static_cast<long>(pid);
            } else if (key == "__REALTIME_TIMESTAMP") {
                long long microseconds = 0;
                bool valid = false;
                if (!readWhole(walk, microseconds, valid)) return false;
                if (valid) read.time = localTime(microseconds);
            } else if (!walk.skipValue()) {
                return false;
            }
        } while (walk.take(','));
        if (!walk.take('}')) return false;
    }
    return message && walk.atEnd();
}

}  // namespace kestal
