// The messages of pppd that make its sessions and failed attempts, told
// apart by their text as pppd 2.4 and 2.5 print them, with what each says.
#pragma once

#include <cstdint>
#include <string_view>

namespace kestal {

enum class PppdMessage : std::uint8_t {
    Other,                 // not one of those below
    Connect,               // Connect: IF <--> DEV (text: IF, other: DEV)
    UsingInterface,        // Using interface IF (text)
    ConnectionTerminated,  // Connection terminated.
    ConnectTime,           // Connect time N.N minutes. (first: tenths of a minute)
    SentReceived,          // Sent N bytes, received M bytes. (first: N, second: M)
    SentPadt,              // Sent PADT
    Exit,                  // Exit.
    StartedBy,             // pppd X started by NAME, uid N
    AuthSucceeded,         // X authentication succeeded (text: X)
    PeerAuthenticated,     // Peer NAME authenticated with X, X peer authentication
                           // succeeded for NAME (text: X, other: NAME)
    LocalIp,               // local  IP address A (text: A), and the three below
    RemoteIp,
    PrimaryDns,
    SecondaryDns,
    LocalLinkLocal,   // local  LL address A
    RemoteLinkLocal,  // remote LL address A
    // The lines that tell how a session ended, or why an attempt failed.
    EchoTimeout,          // No response to N echo-requests
    TerminatedByPeer,     // … terminated by peer …
    ModemHangup,          // Modem hangup
    Hangup,               // Hangup (SIGHUP), Serial link disconnected.
    Stopped,              // Terminating on signal N
    Idle,                 // … due to lack of activity.
    TimeLimit,            // Connect time expired
    TrafficLimit,         // Traffic limit reached …
    AuthFailed,           // X authentication failed
    PeerFailedAuth,       // Peer NAME failed X authentication
    NegotiationTimeout,   // X: timeout sending Config-Requests
    NoPado,               // Timeout waiting for PADO packets (or PADS)
    DiscoveryFailed,      // Unable to complete PPPoE Discovery
    ConnectScriptFailed,  // Connect script failed
    DeviceFailed,         // Failed to open DEV: …
};

struct MessageFacts {
    PppdMessage kind = PppdMessage::Other;
    std::string_view text;
    std::string_view other;
    std::uint64_t first = 0;
    std::uint64_t second = 0;
};

// What message says; message as it stands after the prefix, without the
// terminal's echo (see withoutEcho).
MessageFacts readMessage(std::string_view message);

// A message without the blanks in front of it and the "^C" a terminal's
// echo glued to it (pppd's own output, copied from a terminal).
std::string_view withoutEcho(std::string_view message);

// The words the Ended By column gives a line that tells how a session
// ended; empty for any other message.
std::string_view endedByWords(PppdMessage kind);

// A line that, outside a session, makes a failed attempt.
bool isFailure(PppdMessage kind);

// A session that ended this way was dropped (not ended on purpose).
bool isDroppedEnd(PppdMessage kind);

}  // namespace kestal
