// Writes a synthetic Linux system log with pppd in it: pppd processes one
// after another, each with failed attempts and sessions of every ending,
// chat's lines, IPCP restarts, in pppd 2.4's or 2.5's order of messages;
// a session that began before the log at its start and one still up at its
// end; other programs' lines as four fifths of the bytes (none in pppd's
// own bare log file). Beside the log it can write the table the viewer
// must find in it, as kestal-calls --kind pppd --format tsv --header
// writes it.
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "PppdLineStyles.h"

namespace kestal::bench {

struct PppdLogOptions {
    LineStyle style = LineStyle::Syslog;
    bool version25 = false;  // pppd 2.5's order of messages, else 2.4's
    std::uint64_t seed = 1998;
    // The long waits (a session's length, the pause before a process, an
    // IPCP restart) beyond their least, times this: below 1 for a busy
    // server's log, many sessions a day. pppd's own timeouts stay as they
    // are; the same seed gives the same sessions, endings and lines.
    double longWaitScale = 1;
};

class PppdLogMaker {
public:
    // expect may be null: no table is written.
    PppdLogMaker(std::FILE* log, std::FILE* expect, const PppdLogOptions& options);

    // The tail of a session that began before the log.
    void sessionBeforeLog();
    // One pppd process: its attempts and sessions, then its exit.
    void process();
    // A session still up when the log ends, then everything written.
    void finish();

    std::uint64_t written() const { return written_; }
    std::uint64_t lines() const { return lines_; }
    std::uint64_t sessions() const { return sessions_; }
    std::uint64_t failedAttempts() const { return failedAttempts_; }
    // The time of the last line, seconds since the epoch.
    std::int64_t lastUtcTime() const { return clock_ - offset_; }
    // The log's first and last line's time as printed, seconds as if UTC.
    std::int64_t firstClock() const { return firstClock_; }
    std::int64_t lastClock() const { return clock_; }
    // The seconds of the long waits beyond their least, before the scale.
    std::uint64_t longWaitSeconds() const { return longWaitSeconds_; }

    struct Row {
        std::optional<std::int64_t> start, end;
        long pid = 0;
        std::string interface, device, auth, peer, localIp, remoteIp, primaryDns, secondaryDns;
        std::optional<int> connectTenths;
        std::optional<std::uint64_t> sent, received;
        std::string endedBy, reason;
        bool session = false;  // else a failed attempt
    };
    // Keeps every row written, for rows(): the figures expected of the log
    // are worked out from them.
    void keepRows() { keepRows_ = true; }
    const std::vector<Row>& rows() const { return rows_; }

private:
    enum class Ending {
        EchoTimeout,
        Peer,
        Hangup,
        Stopped,
        Idle,
        TimeLimit,
        TrafficLimit,
        AuthFailed,
        NegotiationTimeout,
        NoPado,
        ConnectScript,
        Device
    };
    struct Period {
        std::uint64_t sent = 0, received = 0;
        int tenths = 0;
    };

    void pppd(const std::string& message, bool trailing = false);
    void chat(const std::string& message);
    void other();
    void line(std::string_view program, long pid, const std::string& message);
    void advance(unsigned minSeconds, unsigned maxSeconds);
    Ending nextEnding(bool pppoe);
    void failedAttempt(Ending ending, bool pppoe);
    // Returns false when the session ended its process (a signal).
    bool session(Ending ending, bool pppoe);
    void linkUp(Row& row, bool pppoe);
    void addresses(Row& row);
    Period statistics(std::int64_t since);
    void printStatistics(const Period& period, bool trailing);
    void endSession(Row& row, Ending ending, std::int64_t ipcpUp, bool pppoe);
    void emitRow(const Row& row);
    std::string address();

    std::FILE* log_;
    std::FILE* expect_;
    PppdLogOptions options_;
    std::uint64_t random_;
    std::string buffer_;
    std::int64_t clock_;  // the log's clock as printed, seconds as if UTC
    int offset_ = 0;      // of that clock from UTC
    long pid_ = 900;
    long chatPid_ = 0;
    std::optional<std::int64_t> attemptStart_;
    std::uint64_t pppdBytes_ = 0, otherBytes_ = 0;
    std::uint64_t written_ = 0, lines_ = 0, sessions_ = 0, failedAttempts_ = 0;
    std::int64_t firstClock_ = 0;
    std::uint64_t longWaitSeconds_ = 0;
    bool keepRows_ = false;
    std::vector<Row> rows_;
    unsigned pppoeTurn_ = 0, serialTurn_ = 0, pick_ = 0;

    unsigned below(unsigned bound);
};

// The table's text of a row, as the tab-separated export writes it.
std::string expectedTsvLine(const PppdLogMaker::Row& row, bool withTimes);
std::string expectedTsvHeader();

}  // namespace kestal::bench
