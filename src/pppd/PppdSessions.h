// What the pppd reader keeps while it reads: each process's session or
// attempt in the making, and the rows made so far. Shared by the reader
// (PppdReader.cpp) and the table it gives (PppdTable.cpp).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "pppd/LinePrefix.h"
#include "pppd/PppdMessages.h"

namespace kestal {

// A line's time as printed, and for a date printed without its year how many
// new years (December, then January) the log had passed by then.
struct Stamp {
    PrintedTime printed;
    int yearStep = 0;
};

// What the table needs to know of a session or failed attempt.
struct RowFacts {
    bool session = false;
    bool terminated = false;  // its Connection terminated. came
    bool closed = false;      // nothing more of it can come
    std::optional<long> pid;
    std::uint64_t firstLine = 0;
    std::uint64_t lastLine = 0;
    std::vector<std::uint64_t> lines;  // when the reader keeps them
    std::optional<Stamp> start;
    std::optional<Stamp> end;
    std::optional<Stamp> last;  // its last line's
    std::string interface, device, usingInterface, auth, peer;
    std::string localIp, remoteIp, primaryDns, secondaryDns, localLinkLocal, remoteLinkLocal;
    std::uint64_t tenths = 0;
    std::uint64_t sent = 0;
    std::uint64_t received = 0;
    bool connectTimeKnown = false;
    bool bytesKnown = false;
    // Statistics counted since the last address line: pppd 2.4 prints them
    // twice in a row at the end, and they count once.
    bool connectTimeCounted = false;
    bool bytesCounted = false;
    PppdMessage endedBy = PppdMessage::Other;
    std::string reason;
};

// One process (one PID; a log without PIDs is one process).
struct Process {
    std::optional<std::size_t> session;  // its open session's row
    // Its lines since its last row ended, not yet in a row.
    std::vector<std::uint64_t> pendingLines;
    bool pending = false;
    std::uint64_t pendingFirst = 0;
    std::optional<Stamp> pendingStart;
    PppdMessage pendingEnd = PppdMessage::Other;
    std::string pendingReason;
    std::string pendingInterface;  // Using interface
    std::optional<Stamp> last;     // its last line's time
    // Its last row, a failed attempt by a PADO/PADS timeout, that the
    // "Unable to complete PPPoE Discovery" after it still belongs to.
    std::optional<std::size_t> timeoutRow;
};

// Rows as their facts, the lines not understood, and where the log's clock
// stood at its last dated line.
struct ReadSoFar {
    std::vector<RowFacts> rows;  // in the order they began to be made
    std::uint64_t notUnderstood = 0;
    std::optional<Stamp> lastYearless;  // the last line dated without a year
    std::optional<Stamp> firstDated;    // the log's first and last dated lines
    std::optional<Stamp> lastDated;
};

}  // namespace kestal
