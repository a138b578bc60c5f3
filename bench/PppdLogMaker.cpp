#include "PppdLogMaker.h"

#include <array>
#include <cmath>
#include <ctime>

namespace kestal::bench {

namespace {

// 20 Dec 2024 07:00:00: the log runs into the next year, so a log without
// years shows the turn of the year.
constexpr std::int64_t kLogStart = 1734678000;
// A wait that may last this long or longer is a long one (longWaitScale).
constexpr unsigned kLongWait = 600;

constexpr std::array<std::string_view, 12> kEndedBy{
    "echo timeout",  "peer",           "hangup",
    "stopped",       "idle",           "time limit",
    "traffic limit", "auth failed",    "negotiation timeout",
    "no PADO",       "connect script", "device"};

std::string format(const char* pattern, auto... values) {
    char buffer[256];
    const int n = std::snprintf(buffer, sizeof buffer, pattern, values...);
    return std::string(buffer, n > 0 ? static_cast<std::size_t>(n) : 0);
}

std::string timeText(std::optional<std::int64_t> time, bool withTimes) {
    if (!time || !withTimes) return "-";
    const std::time_t t = static_cast<std::time_t>(*time);
    std::tm parts{};
    gmtime_r(&t, &parts);
    return format("%02d-%02d-%04d %02d:%02d:%02d", parts.tm_mon + 1, parts.tm_mday,
                  parts.tm_year + 1900, parts.tm_hour, parts.tm_min, parts.tm_sec);
}

std::string orDash(const std::string& text) { return text.empty() ? "-" : text; }

}  // namespace

std::string expectedTsvHeader() {
    return "Start Time\tEnd Time\tDuration\tPID\tInterface\tDevice\tAuth\tPeer\tLocal IP\t"
           "Remote IP\tPrimary DNS\tSecondary DNS\tConnect Time\tBytes Sent\tBytes Received\t"
           "Ended By\tReason";
}

std::string expectedTsvLine(const PppdLogMaker::Row& row, bool withTimes) {
    std::string duration = "-";
    if (withTimes && row.start && row.end) {
        const std::int64_t s = *row.end - *row.start;
        duration = format("%02lld:%02lld:%02lld", static_cast<long long>(s / 3600),
                          static_cast<long long>(s / 60 % 60), static_cast<long long>(s % 60));
    }
    const std::string tenths =
        row.connectTenths ? format("%d.%d", *row.connectTenths / 10, *row.connectTenths % 10) : "-";
    auto number = [](std::optional<std::uint64_t> n) {
        return n ? std::to_string(*n) : std::string("-");
    };
    std::string line = timeText(row.start, withTimes);
    for (const std::string& cell :
         {timeText(row.end, withTimes), duration,
          withTimes ? std::to_string(row.pid) : std::string("-"), orDash(row.interface),
          orDash(row.device), orDash(row.auth), orDash(row.peer), orDash(row.localIp),
          orDash(row.remoteIp), orDash(row.primaryDns), orDash(row.secondaryDns), tenths,
          number(row.sent), number(row.received), orDash(row.endedBy), orDash(row.reason)}) {
        line += '\t';
        line += cell;
    }
    return line;
}

PppdLogMaker::PppdLogMaker(std::FILE* log, std::FILE* expect, const PppdLogOptions& options)
    : log_(log), expect_(expect), options_(options), random_(options.seed), clock_(kLogStart) {
    // Clocks that print an offset run an hour ahead of UTC; a mixed log's
    // lines, some with and some without one, keep to UTC, and so does the
    // journal's, which the viewer shows in its own time zone.
    const LineStyle style = options.style;
    if (style == LineStyle::Rfc3339 || style == LineStyle::ShortIso ||
        style == LineStyle::ShortIsoPrecise || style == LineStyle::ShortFull)
        offset_ = 3600;
    if (expect_) {
        const std::string header = expectedTsvHeader() + "\r\n";
        std::fwrite(header.data(), 1, header.size(), expect_);
    }
}

unsigned PppdLogMaker::below(unsigned bound) {
    std::uint64_t z = (random_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return static_cast<unsigned>((z ^ (z >> 31)) % bound);
}

void PppdLogMaker::advance(unsigned minSeconds, unsigned maxSeconds) {
    const unsigned extra = below(maxSeconds - minSeconds + 1);
    if (maxSeconds < kLongWait) {
        clock_ += minSeconds + extra;
        return;
    }
    longWaitSeconds_ += extra;
    clock_ += minSeconds + std::llround(extra * options_.longWaitScale);
}

void PppdLogMaker::line(std::string_view program, long pid, const std::string& message) {
    const std::size_t before = buffer_.size();
    const LogLineParts parts{clock_, offset_, below(1000000), program, pid, message};
    appendLine(buffer_, options_.style, parts, pick_++);
    const std::size_t bytes = buffer_.size() - before;
    (program == "pppd" ? pppdBytes_ : otherBytes_) += bytes;
    written_ += bytes;
    if (lines_ == 0) firstClock_ = clock_;
    ++lines_;
    if (buffer_.size() >= (1u << 20)) {
        std::fwrite(buffer_.data(), 1, buffer_.size(), log_);
        buffer_.clear();
    }
}

void PppdLogMaker::other() {
    const unsigned n = below(1000);
    switch (n % 6) {
        case 0:
            line("kernel", 0,
                 format("[%u.%06u] IPv4: martian source 192.168.1.%u from 10.0.%u.%u, on dev eth0",
                        n * 37, n * 991, n % 250 + 2, n % 7, n % 200 + 1));
            break;
        case 1:
            line("dnsmasq", 812,
                 format("query[A] host%u.example.org from 192.168.1.%u", n, n % 250));
            break;
        case 2:
            line("dnsmasq-dhcp", 812,
                 format("DHCPACK(br-lan) 192.168.1.%u 3c:22:fb:12:%02x:%02x laptop-%u", n % 250,
                        n % 256, (n * 7) % 256, n));
            break;
        case 3:
            line("CRON", 20000 + n, "(root) CMD (   cd / && run-parts --report /etc/cron.hourly)");
            break;
        case 4:
            line("systemd", 1, format("Started Session %u of User pi.", n));
            break;
        default:
            line("sshd", 30000 + n,
                 format("Accepted publickey for pi from 192.168.1.%u port %u ssh2: ED25519 "
                        "SHA256:Xq2VnH4u9T1kq8zjv0f7oEo5m6u1Zb0mI3b6k9Jf2Q",
                        n % 250, 40000 + n));
            break;
    }
}

void PppdLogMaker::pppd(const std::string& message, bool trailing) {
    if (options_.style != LineStyle::Bare) {
        while (otherBytes_ < 4 * pppdBytes_) other();
    }
    if (!trailing && !attemptStart_) attemptStart_ = clock_;
    line("pppd", pid_, message);
}

void PppdLogMaker::chat(const std::string& message) {
    if (options_.style == LineStyle::Bare) return;  // chat writes to the system log only
    line("chat", chatPid_, message);
}

std::string PppdLogMaker::address() {
    return format("%u.%u.%u.%u", 10 + below(180), below(256), below(256), 1 + below(254));
}

PppdLogMaker::Ending PppdLogMaker::nextEnding(bool pppoe) {
    static constexpr std::array<Ending, 10> kPppoe{
        Ending::EchoTimeout,        Ending::NoPado,     Ending::Peer,         Ending::Idle,
        Ending::TimeLimit,          Ending::AuthFailed, Ending::TrafficLimit, Ending::NoPado,
        Ending::NegotiationTimeout, Ending::Stopped};
    static constexpr std::array<Ending, 8> kSerial{
        Ending::Hangup,     Ending::ConnectScript, Ending::Peer,   Ending::Device,
        Ending::AuthFailed, Ending::EchoTimeout,   Ending::Hangup, Ending::Stopped};
    return pppoe ? kPppoe[pppoeTurn_++ % kPppoe.size()] : kSerial[serialTurn_++ % kSerial.size()];
}

void PppdLogMaker::emitRow(const Row& row) {
    if (keepRows_) rows_.push_back(row);
    if (!expect_) return;
    const std::string text = expectedTsvLine(row, styleHasTimes(options_.style)) + "\r\n";
    std::fwrite(text.data(), 1, text.size(), expect_);
}

void PppdLogMaker::sessionBeforeLog() {
    Row row;
    row.session = true;
    row.pid = pid_;
    pppd("Terminating on signal 15");
    row.endedBy = "stopped";
    row.reason = "Terminating on signal 15";
    const Period period{48211, 1234567, 2174};
    if (options_.version25) printStatistics(period, false);
    advance(0, 1);
    row.end = clock_;
    pppd("Connection terminated.", true);
    if (!options_.version25) printStatistics(period, true);
    row.connectTenths = period.tenths;
    row.sent = period.sent;
    row.received = period.received;
    pppd("Exit.", true);
    emitRow(row);
    ++sessions_;
    attemptStart_.reset();
}

void PppdLogMaker::process() {
    pid_ += 1 + static_cast<long>(below(97));
    chatPid_ = pid_ + 1;
    attemptStart_.reset();
    advance(10, 7200);
    const bool pppoe = below(2) == 0;
    pppd(format("pppd %s started by root, uid 0", options_.version25 ? "2.5.1" : "2.4.9"));
    if (pppoe) pppd("Plugin rp-pppoe.so loaded.");
    const unsigned attempts = 1 + below(4);
    for (unsigned i = 0; i < attempts; ++i) {
        const Ending ending = nextEnding(pppoe);
        if (ending == Ending::NoPado || ending == Ending::ConnectScript ||
            ending == Ending::Device) {
            failedAttempt(ending, pppoe);
        } else if (!session(ending, pppoe)) {
            return;  // the signal ended the process
        }
        advance(5, 60);  // pppd's holdoff before the next attempt
    }
    pppd("Exit.", true);
    attemptStart_.reset();
}

void PppdLogMaker::failedAttempt(Ending ending, bool pppoe) {
    Row row;
    row.pid = pid_;
    std::string reason;
    if (ending == Ending::NoPado) {
        reason =
            below(3) == 0 ? "Timeout waiting for PADS packets" : "Timeout waiting for PADO packets";
        advance(5, 15);
        row.start = attemptStart_.value_or(clock_);
        row.end = clock_;
        pppd(reason);
        pppd("Unable to complete PPPoE Discovery");
    } else if (ending == Ending::ConnectScript) {
        chat("abort on (BUSY)");
        chat("send (ATZ^M)");
        advance(1, 2);
        chat("expect (OK)");
        advance(30, 45);
        chat("alarm");
        chat("Failed");
        reason = "Connect script failed";
        row.start = attemptStart_.value_or(clock_);
        row.end = clock_;
        pppd(reason);
    } else {
        reason = pppoe ? "Failed to open eth1: No such device"
                       : "Failed to open /dev/ttyUSB0: No such file or directory";
        row.start = attemptStart_.value_or(clock_);
        row.end = clock_;
        pppd(reason);
    }
    row.endedBy = kEndedBy[static_cast<std::size_t>(ending)];
    row.reason = reason;
    emitRow(row);
    ++failedAttempts_;
    attemptStart_.reset();
}

void PppdLogMaker::linkUp(Row& row, bool pppoe) {
    if (pppoe) {
        advance(0, 3);
        pppd(format("PPP session is %u", 1 + below(65000)));
        pppd(format("Connected to 00:1b:%02x:4c:%02x:0e via interface eth0", below(256),
                    below(256)));
        row.device = "eth0";
    } else {
        chat("abort on (NO CARRIER)");
        chat("send (ATDT*99#^M)");
        advance(1, 3);
        chat("expect (CONNECT)");
        chat("CONNECT 150000000");
        chat(" -- got it");
        pppd("Serial connection established.");
        row.device = "/dev/ttyUSB0";
    }
    row.interface = format("ppp%u", below(3));
    pppd("Using interface " + row.interface);
    row.start = clock_;
    pppd("Connect: " + row.interface + " <--> " + row.device);
}

void PppdLogMaker::addresses(Row& row) {
    advance(0, 2);
    row.localIp = address();
    row.remoteIp = address();
    row.primaryDns = address();
    pppd("local  IP address " + row.localIp);
    pppd("remote IP address " + row.remoteIp);
    pppd("primary   DNS address " + row.primaryDns);
    // Without a secondary this time, the session keeps the one it had.
    if (below(4) != 0) {
        row.secondaryDns = address();
        pppd("secondary DNS address " + row.secondaryDns);
    }
}

PppdLogMaker::Period PppdLogMaker::statistics(std::int64_t since) {
    const auto seconds = static_cast<std::uint64_t>(clock_ - since);
    return {seconds * (50 + below(2000)), seconds * (400 + below(20000)),
            static_cast<int>(seconds / 6)};
}

void PppdLogMaker::printStatistics(const Period& period, bool trailing) {
    pppd(format("Connect time %d.%d minutes.", period.tenths / 10, period.tenths % 10), trailing);
    pppd(format("Sent %llu bytes, received %llu bytes.",
                static_cast<unsigned long long>(period.sent),
                static_cast<unsigned long long>(period.received)),
         trailing);
}

bool PppdLogMaker::session(Ending ending, bool pppoe) {
    Row row;
    row.session = true;
    row.pid = pid_;
    linkUp(row, pppoe);
    advance(1, 3);
    if (ending == Ending::NegotiationTimeout) {
        advance(25, 35);
        row.reason = "LCP: timeout sending Config-Requests";
    } else if (ending == Ending::AuthFailed) {
        if (below(2) == 0) {
            pppd("CHAP authentication failed: Access denied");
            row.reason = "CHAP authentication failed";
        } else {
            row.reason = "Peer mallory failed CHAP authentication";
        }
    }
    if (!row.reason.empty()) {
        pppd(row.reason);
        row.endedBy = kEndedBy[static_cast<std::size_t>(ending)];
        row.end = clock_;
        pppd("Connection terminated.");
        if (pppoe) pppd("Sent PADT", true);
        emitRow(row);
        ++sessions_;
        attemptStart_.reset();
        return true;
    }
    if (below(3) == 0) {
        row.peer = "alice";
        row.auth = below(2) == 0 ? "CHAP" : "PAP";
        pppd("Peer alice authenticated with " + row.auth);
    } else {
        row.auth = below(2) == 0 ? "CHAP" : "PAP";
        if (row.auth == "CHAP" && below(2) == 0) pppd("CHAP authentication succeeded: Welcome");
        pppd(row.auth + " authentication succeeded");
    }
    addresses(row);
    std::int64_t ipcpUp = clock_;
    if (below(4) == 0) {
        // IPCP goes down and comes up again: one period of the session ends.
        advance(60, 4000);
        const Period first = statistics(ipcpUp);
        printStatistics(first, false);
        row.connectTenths = first.tenths;
        row.sent = first.sent;
        row.received = first.received;
        addresses(row);
        ipcpUp = clock_;
    }
    endSession(row, ending, ipcpUp, pppoe);
    return ending != Ending::Stopped;
}

void PppdLogMaker::endSession(Row& row, Ending ending, std::int64_t ipcpUp, bool pppoe) {
    advance(30, 21600);
    switch (ending) {
        case Ending::EchoTimeout:
            row.reason = "No response to 4 echo-requests";
            break;
        case Ending::Peer:
            row.reason =
                below(2) == 0 ? "LCP terminated by peer" : "LCP terminated by peer (User request)";
            break;
        case Ending::Hangup:
            row.reason = "Modem hangup";
            break;
        case Ending::Stopped:
            row.reason = "Terminating on signal 15";
            break;
        case Ending::Idle:
            row.reason = "Terminating connection due to lack of activity.";
            break;
        case Ending::TimeLimit:
            row.reason = "Connect time expired";
            break;
        default:
            row.reason = "Traffic limit reached. Limit: 1000000000 Used: 1000004711";
            break;
    }
    row.endedBy = kEndedBy[static_cast<std::size_t>(ending)];
    pppd(row.reason);
    if (ending == Ending::EchoTimeout) pppd("Serial link appears to be disconnected.");
    const Period last = statistics(ipcpUp);
    row.connectTenths = row.connectTenths.value_or(0) + last.tenths;
    row.sent = row.sent.value_or(0) + last.sent;
    row.received = row.received.value_or(0) + last.received;
    // 2.5 prints the statistics before the end, 2.4 after it, and some 2.4
    // builds both times.
    const bool twice = !options_.version25 && below(2) == 0;
    if (options_.version25 || twice) printStatistics(last, false);
    advance(0, 1);
    row.end = clock_;
    pppd("Connection terminated.");
    if (!options_.version25) printStatistics(last, true);
    if (pppoe) pppd("Sent PADT", true);
    if (ending == Ending::Stopped) pppd("Exit.", true);
    emitRow(row);
    ++sessions_;
    attemptStart_.reset();
}

void PppdLogMaker::finish() {
    pid_ += 7;
    chatPid_ = pid_ + 1;
    attemptStart_.reset();
    advance(10, 600);
    pppd(format("pppd %s started by root, uid 0", options_.version25 ? "2.5.1" : "2.4.9"));
    Row row;
    row.session = true;
    row.pid = pid_;
    linkUp(row, false);
    row.auth = "PAP";
    pppd("PAP authentication succeeded");
    addresses(row);
    row.endedBy = "still up";
    emitRow(row);
    ++sessions_;
    advance(1, 30);
    if (options_.style != LineStyle::Bare)
        for (int i = 0; i < 5; ++i) other();
    std::fwrite(buffer_.data(), 1, buffer_.size(), log_);
    buffer_.clear();
}

}  // namespace kestal::bench
