// The sessions and failed attempts of each process, line by line.
#include <algorithm>
#include <utility>

#include "pppd/PppdReaderState.h"

namespace kestal {

using namespace reading;

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

void PppdReader::State::finishRow(std::size_t number) {
    auto node = read.open.extract(number);
    if (!node.empty()) read.finished.add(number, std::move(node.mapped()));
}

void PppdReader::State::endSession(Process& p) {
    read.open.at(*p.session).closed = true;
    finishRow(*p.session);
    p.session.reset();
}

void PppdReader::State::releaseTimeoutRow(Process& p) {
    if (p.timeoutRow) finishRow(*p.timeoutRow);
    p.timeoutRow.reset();
}

std::size_t PppdReader::State::newRow(Process& p, const Logical& line, bool session) {
    releaseTimeoutRow(p);
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
    const std::size_t number = read.rowsMade++;
    read.open.emplace(number, std::move(row));
    clearPending(p);
    return number;
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
    const auto found = processes.find(key);
    Process& p = found != processes.end() ? found->second : processes[key];
    processLine(p, key, line);
    // A process with nothing open is as good as a new one: a system log
    // holds thousands of them, and their memory goes.
    if (!p.session && !p.pending && !p.timeoutRow && p.pendingLines.empty()) {
        processes.erase(key);
    }
}

void PppdReader::State::processLine(Process& p, long key, const Logical& line) {
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
        pppdMessages.add(line.message);
    }
    const MessageFacts facts = readMessage(line.message);
    const std::optional<Stamp> before = p.last;
    if (line.time) p.last = line.time;

    if (p.session) {
        RowFacts& session = read.open.at(*p.session);
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
                    endSession(p);
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
                    endSession(p);
                    break;
            }
        } else {
            switch (facts.kind) {
                case PppdMessage::Connect:
                case PppdMessage::StartedBy:
                    session.end = before;
                    endSession(p);
                    break;
                case PppdMessage::Exit:
                    attach(session, line);
                    session.end = line.time;
                    endSession(p);
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
            RowFacts& session = read.open.at(row);
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
            RowFacts& session = read.open.at(row);
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
            releaseTimeoutRow(p);
            addPending(p, line);
            return;
        default:
            break;
    }
    if (facts.kind == PppdMessage::DiscoveryFailed && p.timeoutRow) {
        // The end of the attempt its timeout line made a row of.
        attach(read.open.at(*p.timeoutRow), line);
        releaseTimeoutRow(p);
        return;
    }
    if (isFailure(facts.kind)) {
        const std::size_t row = newRow(p, line, false);
        RowFacts& attempt = read.open.at(row);
        attempt.end = line.time;
        attempt.endedBy = facts.kind;
        attempt.reason = line.message;
        attempt.closed = true;
        if (facts.kind == PppdMessage::NoPado) {
            p.timeoutRow = row;
        } else {
            finishRow(row);
        }
        return;
    }
    if (facts.kind == PppdMessage::UsingInterface) p.pendingInterface = facts.text;
    if (p.pendingEnd == PppdMessage::Other && !endedByWords(facts.kind).empty()) {
        p.pendingEnd = facts.kind;
        p.pendingReason = line.message;
    }
    addPending(p, line);
}

}  // namespace kestal
