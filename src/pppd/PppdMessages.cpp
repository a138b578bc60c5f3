#include "pppd/PppdMessages.h"

namespace kestal {

namespace {

using Kind = PppdMessage;

bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view trimmedEnd(std::string_view s) {
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) {
        s.remove_suffix(1);
    }
    return s;
}

// A whole number at pos, pos moved past it.
bool readCount(std::string_view s, std::size_t& pos, std::uint64_t& value) {
    const std::size_t start = pos;
    value = 0;
    while (pos < s.size() && isDigit(s[pos]) && pos - start < 19)
        value = value * 10 + (s[pos++] - '0');
    return pos > start;
}

bool after(std::string_view s, std::string_view start, std::string_view& rest) {
    if (!s.starts_with(start)) return false;
    rest = s.substr(start.size());
    return true;
}

// A protocol's name as pppd prints it: CHAP, MS-CHAP-v2, IPV6CP, EAP …
bool isProtocolWord(std::string_view word) {
    // Capitals first: LCP, CHAP, MS-CHAP-v2 (not "Started", say).
    if (word.size() < 2 || word.size() > 12 || !(word[0] >= 'A' && word[0] <= 'Z') ||
        !((word[1] >= 'A' && word[1] <= 'Z') || word[1] == '-')) {
        return false;
    }
    for (const char c : word) {
        if (c == ' ' || c == ':' || c == '.') return false;
    }
    return true;
}

MessageFacts facts(Kind kind, std::string_view text = {}, std::string_view other = {}) {
    MessageFacts f;
    f.kind = kind;
    f.text = text;
    f.other = other;
    return f;
}

// The address at the end of an address line.
MessageFacts address(Kind kind, std::string_view rest) {
    rest = trimmedEnd(rest);
    while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
    if (rest.empty() || rest.find(' ') != std::string_view::npos) return {};
    return facts(kind, rest);
}

// Messages that start with a protocol's name: X authentication succeeded,
// X authentication failed, X peer authentication succeeded for NAME,
// X: timeout sending Config-Requests, X terminated by peer.
MessageFacts protocolMessage(std::string_view m) {
    if (m.size() < 2 || !((m[1] >= 'A' && m[1] <= 'Z') || m[1] == '-')) return {};
    std::size_t space = 0;
    while (space < m.size() && space <= 12 && m[space] != ' ' && m[space] != ':') ++space;
    if (space >= m.size()) return {};
    const std::string_view word = m.substr(0, space);
    if (!isProtocolWord(word)) return {};
    std::string_view rest = trimmedEnd(m.substr(space));
    std::string_view name;
    if (rest == ": timeout sending Config-Requests") return facts(Kind::NegotiationTimeout, word);
    if (rest == " authentication failed") return facts(Kind::AuthFailed, word);
    if (rest == " authentication succeeded" || rest.starts_with(" authentication succeeded:")) {
        return facts(Kind::AuthSucceeded, word);
    }
    if (after(rest, " peer authentication succeeded for ", name)) {
        return facts(Kind::PeerAuthenticated, word, name);
    }
    if (rest.starts_with(" terminated by peer")) return facts(Kind::TerminatedByPeer);
    return {};
}

// Peer NAME authenticated with X; Peer NAME failed X authentication.
MessageFacts peerMessage(std::string_view rest) {
    rest = trimmedEnd(rest);
    std::size_t at = rest.rfind(" authenticated with ");
    if (at != std::string_view::npos) {
        return facts(Kind::PeerAuthenticated, rest.substr(at + 20), rest.substr(0, at));
    }
    if (rest.ends_with(" authentication")) {
        at = rest.rfind(" failed ");
        if (at != std::string_view::npos) {
            const std::string_view protocol = rest.substr(at + 8, rest.size() - at - 8 - 15);
            return facts(Kind::PeerFailedAuth, protocol, rest.substr(0, at));
        }
    }
    return {};
}

MessageFacts connectMessage(std::string_view m) {
    std::string_view rest;
    if (after(m, "Connect: ", rest)) {
        const std::size_t arrow = rest.find(" <-->");
        if (arrow == std::string_view::npos) return {};
        std::string_view device = rest.substr(arrow + 5);
        if (!device.empty() && device.front() == ' ') device.remove_prefix(1);
        return facts(Kind::Connect, rest.substr(0, arrow), trimmedEnd(device));
    }
    if (after(m, "Connect time ", rest)) {
        if (trimmedEnd(rest) == "expired") return facts(Kind::TimeLimit);
        std::size_t pos = 0;
        std::uint64_t whole = 0;
        std::uint64_t tenths = 0;
        if (!readCount(rest, pos, whole)) return {};
        if (pos < rest.size() && rest[pos] == '.') {
            ++pos;
            if (pos >= rest.size() || !isDigit(rest[pos])) return {};
            tenths = static_cast<std::uint64_t>(rest[pos++] - '0');
        }
        if (!rest.substr(pos).starts_with(" minutes")) return {};
        MessageFacts f = facts(Kind::ConnectTime);
        f.first = whole * 10 + tenths;
        return f;
    }
    const std::string_view line = trimmedEnd(m);
    if (line == "Connection terminated.") return facts(Kind::ConnectionTerminated);
    if (line == "Connect script failed") return facts(Kind::ConnectScriptFailed);
    return {};
}

MessageFacts sentMessage(std::string_view m) {
    const std::string_view line = trimmedEnd(m);
    if (line == "Sent PADT") return facts(Kind::SentPadt);
    std::size_t pos = 5;
    MessageFacts f = facts(Kind::SentReceived);
    if (!readCount(line, pos, f.first)) return {};
    const std::string_view middle = " bytes, received ";
    if (line.substr(pos, middle.size()) != middle) return {};
    pos += middle.size();
    if (!readCount(line, pos, f.second) || line.substr(pos) != " bytes.") return {};
    return f;
}

}  // namespace

std::string_view withoutEcho(std::string_view message) {
    while (!message.empty() && (message.front() == ' ' || message.front() == '\t')) {
        message.remove_prefix(1);
    }
    while (message.starts_with("^C")) message.remove_prefix(2);
    return message;
}

MessageFacts readMessage(std::string_view m) {
    if (m.empty()) return {};
    std::string_view rest;
    switch (m.front()) {
        case 'C':
            if (m.starts_with("Conn")) return connectMessage(m);
            return protocolMessage(m);
        case 'S':
            if (m.starts_with("Sent ")) return sentMessage(m);
            if (trimmedEnd(m) == "Serial link disconnected.") return facts(Kind::Hangup);
            return protocolMessage(m);
        case 'U':
            if (after(m, "Using interface ", rest)) return address(Kind::UsingInterface, rest);
            if (m.starts_with("Unable to complete PPPoE Discovery"))
                return facts(Kind::DiscoveryFailed);
            return {};
        case 'M':
            if (trimmedEnd(m) == "Modem hangup") return facts(Kind::ModemHangup);
            return protocolMessage(m);
        case 'E':
            if (trimmedEnd(m) == "Exit.") return facts(Kind::Exit);
            return protocolMessage(m);
        case 'p':
            if (after(m, "primary   DNS address ", rest)) return address(Kind::PrimaryDns, rest);
            if (m.starts_with("pppd ") && m.find(" started by ") != std::string_view::npos) {
                return facts(Kind::StartedBy);
            }
            return {};
        case 's':
            if (after(m, "secondary DNS address ", rest)) return address(Kind::SecondaryDns, rest);
            return {};
        case 'l':
            if (after(m, "local  IP address ", rest)) return address(Kind::LocalIp, rest);
            if (after(m, "local  LL address ", rest)) return address(Kind::LocalLinkLocal, rest);
            return {};
        case 'r':
            if (after(m, "remote IP address ", rest)) return address(Kind::RemoteIp, rest);
            if (after(m, "remote LL address ", rest)) return address(Kind::RemoteLinkLocal, rest);
            return {};
        case 'P':
            if (after(m, "Peer ", rest)) return peerMessage(rest);
            return protocolMessage(m);
        case 'N':
            if (m.starts_with("No response to ") && trimmedEnd(m).ends_with(" echo-requests")) {
                return facts(Kind::EchoTimeout);
            }
            return protocolMessage(m);
        case 'H':
            if (trimmedEnd(m) == "Hangup (SIGHUP)") return facts(Kind::Hangup);
            return protocolMessage(m);
        case 'T':
            if (m.starts_with("Terminating on signal ")) return facts(Kind::Stopped);
            if (m.starts_with("Terminating") &&
                trimmedEnd(m).ends_with(" due to lack of activity.")) {
                return facts(Kind::Idle);
            }
            if (m.starts_with("Traffic limit reached")) return facts(Kind::TrafficLimit);
            if (m.starts_with("Timeout waiting for PAD")) {
                const std::string_view line = trimmedEnd(m);
                if (line == "Timeout waiting for PADO packets" ||
                    line == "Timeout waiting for PADS packets") {
                    return facts(Kind::NoPado);
                }
            }
            return {};
        case 'F':
            if (m.starts_with("Failed to open ")) return facts(Kind::DeviceFailed);
            return {};
        default:
            if (m.front() >= 'A' && m.front() <= 'Z') return protocolMessage(m);
            return {};
    }
}

std::string_view endedByWords(PppdMessage kind) {
    switch (kind) {
        case Kind::EchoTimeout:
            return "echo timeout";
        case Kind::TerminatedByPeer:
            return "peer";
        case Kind::ModemHangup:
        case Kind::Hangup:
            return "hangup";
        case Kind::Stopped:
            return "stopped";
        case Kind::Idle:
            return "idle";
        case Kind::TimeLimit:
            return "time limit";
        case Kind::TrafficLimit:
            return "traffic limit";
        case Kind::AuthFailed:
        case Kind::PeerFailedAuth:
            return "auth failed";
        case Kind::NegotiationTimeout:
            return "negotiation timeout";
        case Kind::NoPado:
        case Kind::DiscoveryFailed:
            return "no PADO";
        case Kind::ConnectScriptFailed:
            return "connect script";
        case Kind::DeviceFailed:
            return "device";
        default:
            return {};
    }
}

bool isFailure(PppdMessage kind) {
    switch (kind) {
        case Kind::NoPado:
        case Kind::DiscoveryFailed:
        case Kind::ConnectScriptFailed:
        case Kind::DeviceFailed:
        case Kind::NegotiationTimeout:
        case Kind::AuthFailed:
        case Kind::PeerFailedAuth:
            return true;
        default:
            return false;
    }
}

bool isDroppedEnd(PppdMessage kind) {
    return kind == Kind::EchoTimeout || kind == Kind::TerminatedByPeer ||
           kind == Kind::ModemHangup || kind == Kind::Hangup || kind == Kind::Other;
}

}  // namespace kestal
