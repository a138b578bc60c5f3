#include "pppd/PppdReader.h"

#include <algorithm>
#include <functional>
#include <unordered_map>

#include "pppd/LinePrefix.h"
#include "pppd/PppdMessages.h"
#include "pppd/PppdSessions.h"
#include "pppd/PppdTable.h"
#include "pppd/QuickPrefix.h"

namespace kestal {

namespace {

// The key of a process: its PID, or -1 for lines without one.
long keyOf(std::optional<long> pid) { return pid.value_or(-1); }

// One number per second of the log's clock, for telling lines of the same
// second; -1 for lines without a time.
std::int64_t secondOf(const std::optional<Stamp>& stamp) {
    if (!stamp) return -1;
    const PrintedTime& t = stamp->printed;
    const std::int64_t year = t.year * 64 + stamp->yearStep;
    return ((((year * 13 + t.month) * 32 + t.day) * 24 + t.hour) * 60 + t.minute) * 61 + t.second;
}

std::string_view trimmedEnd(std::string_view s) {
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) {
        s.remove_suffix(1);
    }
    return s;
}

// Text that can be the rest of a wrapped line: no control bytes, not too long.
bool looksLikeContinuation(std::string_view line) {
    if (line.empty() || line.size() > 4096) return false;
    return std::none_of(line.begin(), line.end(),
                        [](char c) { return static_cast<unsigned char>(c) < 0x20 && c != '\t'; });
}

std::size_t messageHash(std::string_view message) { return std::hash<std::string_view>{}(message); }

// A line of the log, or several when wrapped, read as pppd's (or its chat's).
struct Logical {
    std::uint64_t first = 0;
    std::uint64_t last = 0;
    std::optional<Stamp> time;
    std::optional<long> pid;
    std::string message;
};

}  // namespace

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
    Logical heldLine;
    // pppd's messages in the last second it wrote, and the lines of other
    // programs that say the same as pppd and are not yet known to be copies.
    std::int64_t pppdSecond = -2;
    std::vector<std::size_t> pppdMessages;  // their hashes
    std::vector<Logical> maybeCopies;
    std::string decoded;

    void addLine(std::uint64_t index, std::string_view text);
    bool skipQuickly(std::string_view text);
    void finish() {
        flushHeld();
        flushCopies();
    }

private:
    void readPrefixed(std::uint64_t index, const PrefixedLine& line);
    void readBare(std::uint64_t index, std::string_view text);
    void noteDate(const PrintedTime& time);
    void flushHeld();
    void flushCopies();
    void maybeCopy(Logical line);
    void pppdLine(const Logical& line);
    void chatLine(const Logical& line);

    Process& process(long key) { return processes[key]; }
    void addLines(std::vector<std::uint64_t>& to, const Logical& line) const {
        if (!options.keepLines) return;
        for (std::uint64_t i = line.first; i <= line.last; ++i) to.push_back(i);
    }
    void addPending(Process& p, const Logical& line);
    void clearPending(Process& p);
    std::size_t newRow(Process& p, const Logical& line, bool session);
    void attach(RowFacts& row, const Logical& line);
    static void apply(RowFacts& row, const MessageFacts& facts, std::string_view message);
    void outsideSession(Process& p, const Logical& line, const MessageFacts& facts);
};

void PppdReader::State::addLine(std::uint64_t index, std::string_view text) {
    if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
    if (mode == Mode::Prefixed && skipQuickly(text)) return;
    const std::optional<PrefixedLine> prefixed = readPrefix(text, options.localMonths, decoded);
    if (prefixed) {
        if (mode != Mode::Prefixed) {
            if (mode == Mode::Unknown) read.notUnderstood += unknownCount;
            mode = Mode::Prefixed;
        }
        readPrefixed(index, *prefixed);
        return;
    }
    if (mode == Mode::Prefixed) {
        if (held != Held::None && looksLikeContinuation(text)) {
            // A line wrapped by whoever copied the log: its rest, no prefix.
            heldLine.last = index;
            if (held != Held::Skipped) {
                if (!heldLine.message.empty() && heldLine.message.back() != ' ') {
                    heldLine.message += ' ';
                }
                heldLine.message += text;
            }
            return;
        }
        flushHeld();
        if (!trimmedEnd(text).empty()) ++read.notUnderstood;
        return;
    }
    readBare(index, text);
}

// Most lines of a system log are other programs': a line in the classic
// style whose program is not pppd or chat and whose message is none of
// pppd's is skipped here without reading all of its prefix.
bool PppdReader::State::skipQuickly(std::string_view s) {
    const std::optional<QuickLine> quick = readQuickly(s);
    if (!quick) return false;
    flushHeld();
    noteDate(quick->time);
    if (!maybeCopies.empty() &&
        secondOf(Stamp{quick->time, yearStep}) != secondOf(maybeCopies.front().time)) {
        flushCopies();
    }
    held = Held::Skipped;
    return true;
}

void PppdReader::State::readBare(std::uint64_t index, std::string_view text) {
    const std::string_view message = trimmedEnd(withoutEcho(text));
    if (mode == Mode::Unknown) {
        if (readMessage(message).kind == PppdMessage::Other) {
            // Not known yet whether the log is pppd's own output.
            if (unknownEnd == 0 && unknownCount == 0) unknownFirst = index;
            unknownEnd = index + 1;
            if (!message.empty()) ++unknownCount;
            return;
        }
        mode = Mode::Bare;
        Process& p = process(-1);
        for (std::uint64_t i = unknownFirst; i < unknownEnd; ++i) {
            addPending(p, Logical{i, i, std::nullopt, std::nullopt, {}});
        }
        unknownCount = 0;
    }
    pppdLine(Logical{index, index, std::nullopt, std::nullopt, std::string(message)});
}

void PppdReader::State::noteDate(const PrintedTime& time) {
    if (time.year != 0) return;
    // December, then January: the next year.
    if (lastMonth != 0 && time.month < lastMonth - 6) ++yearStep;
    lastMonth = time.month;
    read.lastYearless = Stamp{time, yearStep};
}

void PppdReader::State::readPrefixed(std::uint64_t index, const PrefixedLine& line) {
    flushHeld();
    std::optional<Stamp> time;
    if (line.time) {
        noteDate(*line.time);
        time = Stamp{*line.time, line.time->year == 0 ? yearStep : 0};
    }
    if (!maybeCopies.empty() && secondOf(time) != secondOf(maybeCopies.front().time)) {
        flushCopies();
    }
    heldLine.first = heldLine.last = index;
    heldLine.time = time;
    heldLine.pid = line.pid;
    if (line.program == "pppd") {
        held = Held::Pppd;
    } else if (line.program == "chat") {
        held = Held::Chat;
    } else if (readMessage(withoutEcho(line.message)).kind != PppdMessage::Other) {
        held = Held::Copy;
    } else {
        held = Held::Skipped;
        return;
    }
    heldLine.message.assign(line.message);
}

void PppdReader::State::flushHeld() {
    const Held kind = held;
    held = Held::None;
    if (kind == Held::None || kind == Held::Skipped) return;
    const std::string_view message = trimmedEnd(withoutEcho(heldLine.message));
    if (message.size() != heldLine.message.size()) heldLine.message = std::string(message);
    switch (kind) {
        case Held::Pppd:
            pppdLine(heldLine);
            break;
        case Held::Chat:
            chatLine(heldLine);
            break;
        case Held::Copy:
            maybeCopy(heldLine);
            break;
        default:
            break;
    }
}

void PppdReader::State::flushCopies() {
    std::vector<Logical> copies;
    copies.swap(maybeCopies);
    for (const Logical& line : copies) pppdLine(line);
}

void PppdReader::State::maybeCopy(Logical line) {
    // A program that copies pppd's output (a shell under systemd running
    // pppd nodetach) writes what pppd wrote, in the same second.
    if (secondOf(line.time) == pppdSecond &&
        std::find(pppdMessages.begin(), pppdMessages.end(), messageHash(line.message)) !=
            pppdMessages.end()) {
        return;
    }
    maybeCopies.push_back(std::move(line));
}

void PppdReader::State::chatLine(const Logical& line) {
    if (!lastPppd || !options.keepLines) return;
    Process& p = process(*lastPppd);
    if (p.session) {
        RowFacts& session = read.rows[*p.session];
        addLines(session.lines, line);
        session.lastLine = line.last;
    } else {
        addLines(p.pendingLines, line);
    }
}

void PppdReader::State::addPending(Process& p, const Logical& line) {
    if (!p.pending) {
        p.pending = true;
        p.pendingFirst = line.first;
        p.pendingStart = line.time;
    }
    addLines(p.pendingLines, line);
}

void PppdReader::State::clearPending(Process& p) {
    p.pending = false;
    p.pendingLines.clear();
    p.pendingStart.reset();
    p.pendingEnd = PppdMessage::Other;
    p.pendingReason.clear();
    p.pendingInterface.clear();
}

std::size_t PppdReader::State::newRow(Process& p, const Logical& line, bool session) {
    RowFacts row;
    row.session = session;
    row.pid = line.pid;
    row.firstLine = p.pending ? p.pendingFirst : line.first;
    row.lines = std::move(p.pendingLines);
    addLines(row.lines, line);
    row.lastLine = line.last;
    row.start = p.pending ? p.pendingStart : line.time;
    row.usingInterface = p.pendingInterface;
    row.last = line.time;
    read.rows.push_back(std::move(row));
    clearPending(p);
    p.timeoutRow.reset();
    return read.rows.size() - 1;
}

void PppdReader::State::attach(RowFacts& row, const Logical& line) {
    addLines(row.lines, line);
    row.lastLine = line.last;
    if (line.time) row.last = line.time;
}

void PppdReader::State::apply(RowFacts& row, const MessageFacts& facts, std::string_view message) {
    switch (facts.kind) {
        case PppdMessage::ConnectTime:
            if (!row.connectTimeCounted) row.tenths += facts.first;
            row.connectTimeKnown = row.connectTimeCounted = true;
            break;
        case PppdMessage::SentReceived:
            if (!row.bytesCounted) {
                row.sent += facts.first;
                row.received += facts.second;
            }
            row.bytesKnown = row.bytesCounted = true;
            break;
        case PppdMessage::LocalIp:
            row.localIp = facts.text;
            break;
        case PppdMessage::RemoteIp:
            row.remoteIp = facts.text;
            break;
        case PppdMessage::PrimaryDns:
            row.primaryDns = facts.text;
            break;
        case PppdMessage::SecondaryDns:
            row.secondaryDns = facts.text;
            break;
        case PppdMessage::LocalLinkLocal:
            row.localLinkLocal = facts.text;
            break;
        case PppdMessage::RemoteLinkLocal:
            row.remoteLinkLocal = facts.text;
            break;
        case PppdMessage::UsingInterface:
            row.usingInterface = facts.text;
            break;
        case PppdMessage::AuthSucceeded:
            row.auth = facts.text;
            break;
        case PppdMessage::PeerAuthenticated:
            row.auth = facts.text;
            row.peer = facts.other;
            break;
        default:
            break;
    }
    switch (facts.kind) {
        case PppdMessage::LocalIp:
        case PppdMessage::RemoteIp:
        case PppdMessage::PrimaryDns:
        case PppdMessage::SecondaryDns:
        case PppdMessage::LocalLinkLocal:
        case PppdMessage::RemoteLinkLocal:
            // A new IPCP period: its statistics count again.
            row.connectTimeCounted = row.bytesCounted = false;
            break;
        default:
            break;
    }
    if (row.endedBy == PppdMessage::Other && !endedByWords(facts.kind).empty()) {
        row.endedBy = facts.kind;
        row.reason = message;
    }
}

void PppdReader::State::pppdLine(const Logical& line) {
    const long key = keyOf(line.pid);
    Process& p = process(key);
    lastPppd = key;
    if (line.time || line.pid) {
        const std::int64_t second = secondOf(line.time);
        if (second != pppdSecond) {
            pppdSecond = second;
            pppdMessages.clear();
        }
        const auto copy =
            std::find_if(maybeCopies.begin(), maybeCopies.end(), [&](const Logical& c) {
                return secondOf(c.time) == second && c.message == line.message;
            });
        if (copy != maybeCopies.end()) maybeCopies.erase(copy);
        if (pppdMessages.size() < 64) pppdMessages.push_back(messageHash(line.message));
    }
    const MessageFacts facts = readMessage(line.message);
    const std::optional<Stamp> before = p.last;
    if (line.time) p.last = line.time;

    if (p.session) {
        RowFacts& session = read.rows[*p.session];
        if (session.terminated) {
            switch (facts.kind) {
                // The lines that still belong to a session after its end.
                case PppdMessage::ConnectTime:
                case PppdMessage::SentReceived:
                case PppdMessage::ModemHangup:
                case PppdMessage::SentPadt:
                case PppdMessage::ConnectionTerminated:  // said again: still its end
                    attach(session, line);
                    apply(session, facts, line.message);
                    return;
                case PppdMessage::Exit:
                    attach(session, line);
                    session.closed = true;
                    p.session.reset();
                    return;
                case PppdMessage::Other:
                case PppdMessage::UsingInterface:
                case PppdMessage::EchoTimeout:
                case PppdMessage::TerminatedByPeer:
                case PppdMessage::Hangup:
                case PppdMessage::Stopped:
                    addPending(p, line);
                    return;
                default:
                    session.closed = true;
                    p.session.reset();
                    break;
            }
        } else {
            switch (facts.kind) {
                case PppdMessage::Connect:
                case PppdMessage::StartedBy:
                    session.end = before;
                    session.closed = true;
                    p.session.reset();
                    break;
                case PppdMessage::Exit:
                    attach(session, line);
                    session.end = line.time;
                    session.closed = true;
                    p.session.reset();
                    return;
                case PppdMessage::ConnectionTerminated:
                    attach(session, line);
                    session.terminated = true;
                    session.end = line.time;
                    return;
                default:
                    attach(session, line);
                    apply(session, facts, line.message);
                    return;
            }
        }
    }
    outsideSession(p, line, facts);
}

void PppdReader::State::outsideSession(Process& p, const Logical& line, const MessageFacts& facts) {
    switch (facts.kind) {
        case PppdMessage::Connect: {
            const std::size_t row = newRow(p, line, true);
            RowFacts& session = read.rows[row];
            session.start = line.time;
            session.interface = facts.text;
            session.device = facts.other;
            p.session = row;
            return;
        }
        case PppdMessage::ConnectionTerminated:
        case PppdMessage::ConnectTime:
        case PppdMessage::SentReceived: {
            // The end of a session that began before the log did.
            const PppdMessage end = p.pendingEnd;
            const std::string reason = p.pendingReason;
            const std::size_t row = newRow(p, line, true);
            RowFacts& session = read.rows[row];
            session.start.reset();
            session.endedBy = end;
            session.reason = reason;
            if (facts.kind == PppdMessage::ConnectionTerminated) {
                session.terminated = true;
                session.end = line.time;
            } else {
                apply(session, facts, line.message);
            }
            p.session = row;
            return;
        }
        case PppdMessage::StartedBy:
            // A new pppd under this PID.
            clearPending(p);
            p.timeoutRow.reset();
            addPending(p, line);
            return;
        default:
            break;
    }
    if (facts.kind == PppdMessage::DiscoveryFailed && p.timeoutRow) {
        // The end of the attempt its timeout line made a row of.
        attach(read.rows[*p.timeoutRow], line);
        p.timeoutRow.reset();
        return;
    }
    if (isFailure(facts.kind)) {
        const std::size_t row = newRow(p, line, false);
        RowFacts& attempt = read.rows[row];
        attempt.end = line.time;
        attempt.endedBy = facts.kind;
        attempt.reason = line.message;
        attempt.closed = true;
        if (facts.kind == PppdMessage::NoPado) p.timeoutRow = row;
        return;
    }
    if (facts.kind == PppdMessage::UsingInterface) p.pendingInterface = facts.text;
    if (p.pendingEnd == PppdMessage::Other && !endedByWords(facts.kind).empty()) {
        p.pendingEnd = facts.kind;
        p.pendingReason = line.message;
    }
    addPending(p, line);
}

PppdReader::PppdReader(PppdReadOptions options) : state_(std::make_unique<State>()) {
    state_->options = std::move(options);
}
PppdReader::~PppdReader() = default;
PppdReader::PppdReader(PppdReader&&) noexcept = default;
PppdReader& PppdReader::operator=(PppdReader&&) noexcept = default;

void PppdReader::add(const LineRange& lines) {
    for (std::size_t i = lines.first; i < lines.last; ++i) state_->addLine(i, lines[i]);
}

void PppdReader::addLine(std::uint64_t index, std::string_view text) {
    state_->addLine(index, text);
}

void PppdReader::addAll(const LogLines& lines) {
    for (std::size_t i = 0; i < lines.size(); ++i) state_->addLine(i, lines[i]);
}

PppdLog PppdReader::table() const {
    // What is held back (a line that may go on in the next, copies not yet
    // known to be copies) counts as read: on a copy, so reading goes on.
    State done = *state_;
    done.finish();
    if (done.mode == State::Mode::Unknown) done.read.notUnderstood += done.unknownCount;
    return makePppdLog(std::move(done.read), state_->options);
}

PppdLog PppdReader::finish() {
    State& done = *state_;
    done.finish();
    if (done.mode == State::Mode::Unknown) done.read.notUnderstood += done.unknownCount;
    PppdLog log = makePppdLog(std::move(done.read), done.options);
    PppdReadOptions options = std::move(done.options);
    state_ = std::make_unique<State>();
    state_->options = std::move(options);
    return log;
}

std::span<const std::uint64_t> PppdLog::linesOf(int row) const {
    if (row < 0 || static_cast<std::size_t>(row) >= rowLines.size()) return {};
    return rowLines[static_cast<std::size_t>(row)];
}

PppdLog readPppdLog(const LogLines& lines, const PppdReadOptions& options) {
    PppdReader reader(options);
    reader.addAll(lines);
    return reader.finish();
}

}  // namespace kestal
