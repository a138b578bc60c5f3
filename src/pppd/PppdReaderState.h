// The pppd reader's state, shared by its two halves: the intake of lines
// (PppdReader.cpp: prefixes, wrapped lines, copies, the clock) and the
// sessions and attempts of each process (PppdProcesses.cpp).
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "pppd/FinishedRows.h"
#include "pppd/LinePrefix.h"
#include "pppd/PppdMessages.h"
#include "pppd/PppdReader.h"

namespace kestal {

namespace reading {

// The key of a process: its PID, or -1 for lines without one.
inline long keyOf(std::optional<long> pid) { return pid.value_or(-1); }

// One number per second of the log's clock, for telling lines of the same
// second; -1 for lines without a time.
inline std::int64_t secondOf(const std::optional<Stamp>& stamp) {
    if (!stamp) return -1;
    const PrintedTime& t = stamp->printed;
    const std::int64_t year = t.year * 64 + stamp->yearStep;
    return ((((year * 13 + t.month) * 32 + t.day) * 24 + t.hour) * 60 + t.minute) * 61 + t.second;
}

inline std::string_view trimmedEnd(std::string_view s) {
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) {
        s.remove_suffix(1);
    }
    return s;
}

// Text that can be the rest of a wrapped line: no control bytes, not too long.
inline bool looksLikeContinuation(std::string_view line) {
    if (line.empty() || line.size() > 4096) return false;
    return std::none_of(line.begin(), line.end(),
                        [](char c) { return static_cast<unsigned char>(c) < 0x20 && c != '\t'; });
}

// The first messages of one second, one after another: copying a message
// costs less than a hash of it, and is looked at only when another
// program's line says what pppd says.
class SecondMessages {
public:
    void clear() {
        text_.clear();
        ends_.clear();
    }
    void add(std::string_view message) {
        if (ends_.size() >= 64) return;
        text_.append(message);
        ends_.push_back(text_.size());
    }
    bool holds(std::string_view message) const {
        std::size_t from = 0;
        for (const std::size_t end : ends_) {
            if (std::string_view(text_).substr(from, end - from) == message) return true;
            from = end;
        }
        return false;
    }

private:
    std::string text_;
    std::vector<std::size_t> ends_;
};

// A line of the log, or several when wrapped, read as pppd's (or its chat's).
struct Logical {
    std::uint64_t first = 0;
    std::uint64_t last = 0;
    std::optional<Stamp> time;
    std::optional<long> pid;
    std::string message;
};

}  // namespace reading

struct PppdReader::State {
    enum class Mode { Unknown, Prefixed, Bare };
    enum class Held { None, Pppd, Chat, Copy, Skipped };

    PppdReadOptions options;
    ReadSoFar read;
    std::unordered_map<long, Process> processes;
    Mode mode = Mode::Unknown;
    std::uint64_t unknownFirst = 0;
    std::uint64_t unknownEnd = 0;
    std::uint64_t unknownCount = 0;
    int lastMonth = 0;
    int yearStep = 0;
    std::optional<long> lastPppd;  // the process of pppd's last line, for chat's
    Held held = Held::None;
    reading::Logical heldLine;
    // pppd's messages in the last second it wrote, and the lines of other
    // programs that say the same as pppd and are not yet known to be copies.
    std::int64_t pppdSecond = -2;
    reading::SecondMessages pppdMessages;
    std::vector<reading::Logical> maybeCopies;
    std::string decoded;

    void addLine(std::uint64_t index, std::string_view text);
    // A line whose prefix was read (the program's name need only tell pppd
    // and chat), or a line without one (without its line end's CR).
    void addPrefixed(std::uint64_t index, const PrefixedLine& line);
    void addUnprefixed(std::uint64_t index, std::string_view text);
    // Another program's line that the quick check passed, of this time.
    void passOver(const PrintedTime& time);
    // The end of the log: what is held back is read, and every row is
    // finished.
    void finish() {
        flushHeld();
        flushCopies();
        while (!read.open.empty()) finishRow(read.open.begin()->first);
    }

private:
    void readPrefixed(std::uint64_t index, const PrefixedLine& line);
    void readBare(std::uint64_t index, std::string_view text);
    void noteDate(const PrintedTime& time);
    void skipLine(const PrintedTime& time);
    void flushHeld();
    void flushCopies();
    void maybeCopy(reading::Logical line);
    void pppdLine(const reading::Logical& line);
    void processLine(Process& p, long key, const reading::Logical& line);
    void chatLine(const reading::Logical& line);

    Process& process(long key) { return processes[key]; }
    void addLines(std::vector<std::uint64_t>& to, const reading::Logical& line) const {
        if (!options.keepLines) return;
        for (std::uint64_t i = line.first; i <= line.last; ++i) to.push_back(i);
    }
    void addPending(Process& p, const reading::Logical& line);
    void clearPending(Process& p);
    std::size_t newRow(Process& p, const reading::Logical& line, bool session);
    // Rows nothing more can change are packed away.
    void finishRow(std::size_t number);
    void endSession(Process& p);
    // The row a PADO timeout made, that a "Unable to complete PPPoE
    // Discovery" might still have joined.
    void releaseTimeoutRow(Process& p);
    void attach(RowFacts& row, const reading::Logical& line);
    static void apply(RowFacts& row, const MessageFacts& facts, std::string_view message);
    void outsideSession(Process& p, const reading::Logical& line, const MessageFacts& facts);
};

}  // namespace kestal
