// Writes a synthetic Dial-Up Networking PPP log of about the size asked for,
// made like the real thing: calls of some seventy lines (layer negotiation,
// addresses, the counter lines at hang-up), a few calls cut short by the
// next "log opened" line, a few with an unreadable time of day, stray lines
// between calls, and optionally runs of NUL bytes as a crash leaves them.
//
//   make_log SIZE OUTFILE [--nul] [--seed N]
//            [--shape typical|medium|short|long]
//   make_log SIZE OUTFILE --kind pppd [--seed N] [--style STYLE]
//            [--version 2.4|2.5] [--expect TABLEFILE] [--days N]
//
// Shapes: typical, calls of about 75 lines of 65 bytes; medium, the same
// with one LCP round and little chatter, some 37 lines a call (about 450,000
// calls per GiB); short, calls of a dozen lines of about 50 bytes (many
// calls, many short lines); long, calls of some 250 lines, most of them
// frame dumps of about 300 bytes (few calls, long lines).
//
// SIZE takes K, M or G (powers of 1024): 10M, 100M, 1G. The same size and
// seed always give the same bytes. Prints the line and call counts and the
// Start Time of the last call, for the details benchmark.
//
// With --kind pppd it writes a Linux system log with pppd's sessions in it
// instead (PppdLogMaker.h), its lines prefixed in the style given (syslog,
// the default, busybox, openwrt, rfc3339, short-iso, short-iso-precise,
// short-precise, short-full, json, export (the journal export format, for
// systemd-journal-remote), bare, priority or mixed); --expect writes
// beside it the table kestal-calls --kind pppd --format tsv --header must
// print. --days N spreads the sessions over about N days (a busy dial-in
// server's log) instead of the decades a large log's sessions of some hours
// one after another take: their lengths and the pauses between them
// shortened alike. The log's modification time is set just after its
// last line, so that the years of a log without them are always the same.
#include <utime.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <string_view>

#include "PppdExpectedFigures.h"
#include "PppdLogMaker.h"

namespace {

// A small, fast generator with a fixed sequence for a given seed.
class Random {
public:
    explicit Random(std::uint64_t seed) : state_(seed) {}
    std::uint64_t next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // 0 .. bound - 1
    unsigned below(unsigned bound) { return static_cast<unsigned>(next() % bound); }
    bool chance(unsigned perMille) { return below(1000) < perMille; }

private:
    std::uint64_t state_;
};

bool parseSize(std::string_view text, std::uint64_t& size) {
    if (text.empty()) return false;
    char* end = nullptr;
    const std::string digits(text);
    const double value = std::strtod(digits.c_str(), &end);
    if (end == digits.c_str() || value <= 0) return false;
    std::uint64_t unit = 1;
    switch (*end) {
        case '\0':
            break;
        case 'k':
        case 'K':
            unit = 1ull << 10;
            break;
        case 'm':
        case 'M':
            unit = 1ull << 20;
            break;
        case 'g':
        case 'G':
            unit = 1ull << 30;
            break;
        default:
            return false;
    }
    if (*end != '\0' && end[1] != '\0' && !(end[1] == 'i' || end[1] == 'B')) return false;
    size = static_cast<std::uint64_t>(value * static_cast<double>(unit));
    return true;
}

enum class Shape { Typical, Medium, Short, Long };

class LogWriter {
public:
    LogWriter(std::FILE* out, std::uint64_t seed, bool withNul, Shape shape)
        : out_(out), random_(seed), withNul_(withNul), shape_(shape) {
        // Calls start on the first of December 1998, 08:00 UTC.
        clock_ = 912499200 + 8 * 3600;
        buffer_.reserve(1 << 20);
    }

    std::uint64_t written() const { return written_ + buffer_.size(); }
    std::uint64_t lines() const { return lines_; }
    std::uint64_t calls() const { return calls_; }
    const std::string& lastStart() const { return lastStart_; }

    void call() {
        if (shape_ == Shape::Short) {
            shortCall();
            return;
        }
        ++calls_;
        clock_ += 60 + random_.below(1800);  // time between calls
        hundredths_ = random_.below(100);
        const bool unreadableTime = random_.chance(2);
        const bool cutShort = random_.chance(15);

        // Once in a while a line stands outside any call.
        if (random_.chance(20)) line("Remote access driver is shutting down.");

        stampUnreadable_ = unreadableTime;
        line("Remote access driver log opened.");
        lastStart_ = stamp_.substr(0, 19);
        if (unreadableTime) garble(lastStart_);
        stampUnreadable_ = false;

        line("Installable CP VxD SPAP");
        line("Server type is PPP (Point to Point Protocol).");
        line("FSA : Adding Control Protocol 80fd (CCP) to control protocol chain.");
        line("FSA : Protocol not bound - skipping control protocol 803f (NBFCP).");
        line("FSA : Encrypted Password not required");
        tick(30, 90);
        line("LCP : Callback negotiation not enabled.");
        const bool medium = shape_ == Shape::Medium;
        const unsigned rounds = medium ? 1 : 2 + random_.below(5);
        for (unsigned i = 0; i < rounds; ++i) {
            line("LCP : Sending Configure-Request, id ", i + 1);
            line("LCP : Received Configure-Ack, id ", i + 1);
            line("LCP : Received and accepted ACCM of 0.");
            line("LCP : Received and accepted magic number ", random_.below(1u << 30));
            tick(0, 20);
        }
        if (!random_.chance(10)) line("LCP : Layer up");
        tick(20, 90);
        line("CHAP : Challenge received, length ", 16 + random_.below(16));
        line("CHAP : Login successful.");
        if (!random_.chance(10)) line("CHAP : Layer up");
        tick(20, 60);
        const unsigned options = medium ? 1 + random_.below(2) : 4 + random_.below(8);
        for (unsigned i = 0; i < options; ++i) {
            line("IPCP : Sending Configure-Request, id ", i + 1);
            line("IPCP : Received Configure-Nak for option ", 3 + i % 4);
            tick(0, 10);
        }
        hexLine("IPCP : Negotiated IP address of ");
        hexLine("IPCP : Received DNS ");
        hexLine("IPCP : Remote address change from 0 to ");
        if (!random_.chance(10)) line("IPCP : Layer up");
        tick(10, 40);
        // A slow layer now and then: more than 500 seconds shows "-".
        if (random_.chance(5)) clock_ += 600;
        line(random_.chance(500) ? "CCP : Layer finished" : "CCP : Layer up");
        const unsigned chatter = medium ? random_.below(2) : 4 + random_.below(8);
        for (unsigned i = 0; i < chatter; ++i) {
            line("IPCP : Received Configure-Request, id ", random_.below(256));
            line("FSA : Frame received with bad FCS, id ", random_.below(256));
        }
        if (shape_ == Shape::Long) frameDumps(150 + random_.below(150));
        if (cutShort) return;  // the next call's "log opened" line ends it

        clock_ += 30 + random_.below(3600);  // the call itself
        hangUp();
    }

    // A call of a dozen short lines: its layers, its counters, nothing else.
    void shortCall() {
        ++calls_;
        clock_ += 60 + random_.below(1800);
        hundredths_ = random_.below(100);
        const bool unreadableTime = random_.chance(2);
        stampUnreadable_ = unreadableTime;
        line("Remote access driver log opened.");
        lastStart_ = stamp_.substr(0, 19);
        if (unreadableTime) garble(lastStart_);
        stampUnreadable_ = false;
        tick(30, 90);
        line("LCP : Layer up");
        tick(20, 90);
        line("CHAP : Layer up");
        tick(20, 60);
        line("IPCP : Layer up");
        line("CCP : Layer up");
        if (random_.chance(15)) return;  // cut short
        clock_ += 30 + random_.below(3600);
        const unsigned received = random_.below(40'000'000);
        counter("Bytes Received             ", received);
        counter("Bytes Transmitted          ", received / 8 + random_.below(100'000));
        counter("Frames Received            ", received / 94);
        counter("Frames Transmitted         ", received / 107);
        counter("CRC Errors                      ", random_.chance(900) ? 0 : random_.below(40));
        line("Remote access driver log closed.");
    }

    // Lines of some 300 bytes: the bytes of a frame written out in hex.
    void frameDumps(unsigned count) {
        static constexpr char kHex[] = "0123456789abcdef";
        for (unsigned i = 0; i < count; ++i) {
            begin();
            buffer_ += "FSA : Frame dump, id ";
            buffer_ += std::to_string(random_.below(256));
            buffer_ += ": ";
            const unsigned length = 120 + random_.below(60);
            for (unsigned k = 0; k < length; ++k) {
                const std::uint64_t bits = random_.next();
                buffer_ += kHex[bits & 15];
                buffer_ += kHex[(bits >> 4) & 15];
                if (k % 2 == 1) buffer_ += ' ';
            }
            end();
            if (i % 16 == 15) tick(0, 10);
        }
    }

    void hangUp() {
        line("Remote access driver is shutting down.");
        counter("CRC Errors                      ", random_.chance(900) ? 0 : random_.below(40));
        counter("Timeout Errors                  ", random_.chance(900) ? 0 : random_.below(9));
        counter("Alignment Errors                ", 0);
        counter("Overrun Errors                  ", random_.chance(950) ? 0 : random_.below(5));
        counter("Framing Errors                  ", 0);
        counter("Buffer Overrun Errors           ", 0);
        counter("Incomplete Packets              ", random_.below(3));
        const unsigned received = random_.below(40'000'000);
        counter("Bytes Received             ", received);
        counter("Bytes Transmitted          ", received / 8 + random_.below(100'000));
        counter("Frames Received            ", received / 94);
        counter("Frames Transmitted         ", received / 107);
        line("Remote access driver log closed.");
    }

    void flush() {
        if (withNul_ && !buffer_.empty()) {
            // A run of NUL bytes where the system stopped writing, as a crash
            // leaves it; about one per 256 KiB.
            for (std::size_t at = random_.below(1 << 18); at < buffer_.size();
                 at += (1 << 18) + random_.below(1 << 17))
                buffer_.insert(at, 1 + random_.below(64), '\0');
        }
        std::fwrite(buffer_.data(), 1, buffer_.size(), out_);
        written_ += buffer_.size();
        buffer_.clear();
    }

private:
    void tick(unsigned minHundredths, unsigned maxHundredths) {
        hundredths_ += minHundredths + random_.below(maxHundredths - minHundredths + 1);
        clock_ += hundredths_ / 100;
        hundredths_ %= 100;
    }

    // "12-01-2026 09:12:04.30 - " for the current time.
    void makeStamp() {
        if (clock_ != stampClock_ || hundredths_ != stampHundredths_) {
            std::tm parts{};
            gmtime_r(&clock_, &parts);
            char text[64];
            std::snprintf(text, sizeof text, "%02d-%02d-%04d %02d:%02d:%02d.%02u - ",
                          parts.tm_mon + 1, parts.tm_mday, parts.tm_year + 1900, parts.tm_hour,
                          parts.tm_min, parts.tm_sec, hundredths_);
            stamp_ = text;
            stampClock_ = clock_;
            stampHundredths_ = hundredths_;
        }
    }

    // The time of day garbled, as a disk error leaves it.
    static void garble(std::string& stamp) {
        stamp[11] = '9';
        stamp[12] = 'x';
    }

    void begin() {
        makeStamp();
        if (stampUnreadable_) {
            std::string garbled = stamp_;
            garble(garbled);
            buffer_ += garbled;
        } else {
            buffer_ += stamp_;
        }
    }

    void end() {
        buffer_ += "\r\n";
        ++lines_;
        if (buffer_.size() >= (1 << 20) - 512) flush();
    }

    void line(std::string_view text) {
        begin();
        buffer_ += text;
        end();
    }

    void line(std::string_view text, unsigned number) {
        begin();
        buffer_ += text;
        buffer_ += std::to_string(number);
        end();
    }

    void hexLine(std::string_view text) {
        begin();
        buffer_ += text;
        char hex[12];
        std::snprintf(hex, sizeof hex, "%08x", static_cast<unsigned>(random_.next()));
        buffer_ += hex;
        end();
    }

    // The value right-aligned to end at position 59, inside 49 to 67.
    void counter(std::string_view name, unsigned value) {
        begin();
        buffer_ += name;
        char number[16];
        std::snprintf(number, sizeof number, "%u", value);
        const std::size_t width = 59 - 25 - name.size();
        const std::size_t length = std::strlen(number);
        if (length < width) buffer_.append(width - length, ' ');
        buffer_ += number;
        end();
    }

    std::FILE* out_;
    Random random_;
    bool withNul_;
    Shape shape_;
    std::string buffer_;
    std::uint64_t written_ = 0;
    std::uint64_t lines_ = 0;
    std::uint64_t calls_ = 0;
    std::time_t clock_;
    unsigned hundredths_ = 0;
    std::string stamp_;
    std::time_t stampClock_ = -1;
    unsigned stampHundredths_ = 0;
    bool stampUnreadable_ = false;
    std::string lastStart_;
};

int usage() {
    std::fputs(
        "usage: make_log SIZE OUTFILE [--nul] [--seed N] [--shape typical|medium|short|long]\n"
        "       make_log SIZE OUTFILE --kind pppd [--seed N] [--style STYLE]\n"
        "                [--version 2.4|2.5] [--expect TABLEFILE] [--days N]\n"
        "                [--expect-stats STATSFILE] [--expect-outages OUTAGESFILE]\n"
        "       (SIZE: 10M, 100M, 1G ...)\n",
        stderr);
    return 2;
}

// The figures expected of the log, worked out from the generator's rows.
bool writeExpectedFigures(const kestal::bench::PppdLogMaker& log, const char* statsPath,
                          const char* outagesPath) {
    const kestal::bench::GeneratedFacts facts{log.rows(), log.firstClock(), log.lastClock()};
    for (const auto& [path, text] :
         {std::pair{statsPath, statsPath ? expectedStatisticsByDay(facts) : std::string()},
          std::pair{outagesPath, outagesPath ? expectedOutages(facts) : std::string()}}) {
        if (!path) continue;
        std::FILE* file = std::fopen(path, "wb");
        if (!file || std::fwrite(text.data(), 1, text.size(), file) != text.size() ||
            std::fclose(file) != 0) {
            std::perror(path);
            return false;
        }
    }
    return true;
}

// The scale of the long waits that makes a log of size span about days:
// the log made once without it (thrown away) tells how long it spans and how
// much of that is long waits.
double longWaitScaleFor(std::uint64_t size, kestal::bench::PppdLogOptions options, double days) {
    std::FILE* nowhere = std::fopen("/dev/null", "wb");
    if (!nowhere) return 1;
    options.longWaitScale = 1;
    kestal::bench::PppdLogMaker log(nowhere, nullptr, options);
    log.sessionBeforeLog();
    while (log.written() < size) log.process();
    log.finish();
    std::fclose(nowhere);
    const double span = static_cast<double>(log.lastClock() - log.firstClock());
    const double waits = static_cast<double>(log.longWaitSeconds());
    if (waits <= 0) return 1;
    return std::clamp((days * 86400 - (span - waits)) / waits, 0.0, 1.0);
}

int writePppdLog(std::uint64_t size, const char* path, const kestal::bench::PppdLogOptions& options,
                 const char* expectPath, const char* statsPath, const char* outagesPath) {
    std::FILE* out = std::fopen(path, "wb");
    if (!out) {
        std::perror(path);
        return 1;
    }
    std::FILE* expect = expectPath ? std::fopen(expectPath, "wb") : nullptr;
    if (expectPath && !expect) {
        std::perror(expectPath);
        return 1;
    }
    kestal::bench::PppdLogMaker log(out, expect, options);
    if (statsPath || outagesPath) log.keepRows();
    log.sessionBeforeLog();
    while (log.written() < size) log.process();
    log.finish();
    if (std::fclose(out) != 0 || (expect && std::fclose(expect) != 0)) {
        std::perror(path);
        return 1;
    }
    if (!writeExpectedFigures(log, statsPath, outagesPath)) return 1;
    const utimbuf times{log.lastUtcTime() + 60, log.lastUtcTime() + 60};
    utime(path, &times);
    std::printf("%s: %ju bytes, %ju lines, %ju sessions, %ju failed attempts, %.0f days\n", path,
                static_cast<std::uintmax_t>(log.written()),
                static_cast<std::uintmax_t>(log.lines()),
                static_cast<std::uintmax_t>(log.sessions()),
                static_cast<std::uintmax_t>(log.failedAttempts()),
                static_cast<double>(log.lastClock() - log.firstClock()) / 86400);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return usage();
    std::uint64_t size = 0;
    if (!parseSize(argv[1], size)) return usage();
    const char* const path = argv[2];
    bool withNul = false;
    std::uint64_t seed = 1998;
    Shape shape = Shape::Typical;
    bool pppd = false;
    kestal::bench::PppdLogOptions pppdOptions;
    const char* expectPath = nullptr;
    const char* statsPath = nullptr;
    const char* outagesPath = nullptr;
    double days = 0;
    for (int i = 3; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        if (std::strcmp(argv[i], "--kind") == 0 && hasValue) {
            const std::string_view kind = argv[++i];
            if (kind != "pppd" && kind != "dialup") return usage();
            pppd = kind == "pppd";
        } else if (std::strcmp(argv[i], "--style") == 0 && hasValue) {
            const auto style = kestal::bench::lineStyleNamed(argv[++i]);
            if (!style) return usage();
            pppdOptions.style = *style;
        } else if (std::strcmp(argv[i], "--version") == 0 && hasValue) {
            const std::string_view version = argv[++i];
            if (version != "2.4" && version != "2.5") return usage();
            pppdOptions.version25 = version == "2.5";
        } else if (std::strcmp(argv[i], "--expect") == 0 && hasValue) {
            expectPath = argv[++i];
        } else if (std::strcmp(argv[i], "--expect-stats") == 0 && hasValue) {
            statsPath = argv[++i];
        } else if (std::strcmp(argv[i], "--expect-outages") == 0 && hasValue) {
            outagesPath = argv[++i];
        } else if (std::strcmp(argv[i], "--days") == 0 && hasValue) {
            days = std::strtod(argv[++i], nullptr);
            if (!(days > 0)) return usage();
        } else if (std::strcmp(argv[i], "--nul") == 0) {
            withNul = true;
        } else if (std::strcmp(argv[i], "--seed") == 0 && i + 1 < argc) {
            seed = std::strtoull(argv[++i], nullptr, 10);
        } else if (std::strcmp(argv[i], "--shape") == 0 && i + 1 < argc) {
            const std::string_view name = argv[++i];
            if (name == "typical") {
                shape = Shape::Typical;
            } else if (name == "medium") {
                shape = Shape::Medium;
            } else if (name == "short") {
                shape = Shape::Short;
            } else if (name == "long") {
                shape = Shape::Long;
            } else {
                return usage();
            }
        } else {
            return usage();
        }
    }
    if (pppd) {
        pppdOptions.seed = seed;
        if (days > 0) pppdOptions.longWaitScale = longWaitScaleFor(size, pppdOptions, days);
        return writePppdLog(size, path, pppdOptions, expectPath, statsPath, outagesPath);
    }
    std::FILE* out = std::fopen(path, "wb");
    if (!out) {
        std::perror(path);
        return 1;
    }
    LogWriter log(out, seed, withNul, shape);
    while (log.written() < size) log.call();
    log.flush();
    if (std::fclose(out) != 0) {
        std::perror(path);
        return 1;
    }
    std::printf("%s: %ju bytes, %ju lines, %ju calls, last call %s\n", path,
                static_cast<std::uintmax_t>(log.written()),
                static_cast<std::uintmax_t>(log.lines()), static_cast<std::uintmax_t>(log.calls()),
                log.lastStart().c_str());
    return 0;
}
