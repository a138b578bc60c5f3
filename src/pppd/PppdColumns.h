// The pppd log's call table: its 17 columns, described once, and the marks
// a row carries (a session, a failed attempt, how it ended).
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "table/TableColumns.h"

namespace kestal {

inline constexpr int kPppdColumnCount = 17;

// A column of the pppd log's table (the column first when a cell is asked
// for, as with the dial-up log's Column).
enum class PppdColumn : int {
    StartTime,
    EndTime,
    Duration,
    Pid,
    Interface,
    Device,
    Auth,
    Peer,
    LocalIp,
    RemoteIp,
    PrimaryDns,
    SecondaryDns,
    ConnectTime,
    BytesSent,
    BytesReceived,
    EndedBy,
    Reason,
};

constexpr int indexOf(PppdColumn column) { return static_cast<int>(column); }

// Every cell is written by the reader; the counters, addresses and the
// connect time stand as pppd prints them (its decimal point is always '.').
inline constexpr std::array<TableColumn, kPppdColumnCount> kPppdColumns = {{
    {" Start Time", 110, "Start Time", "Start Time", ValueKind::Time, CellSource::Logged},
    {" End Time", 110, "End Time", "End Time", ValueKind::Time, CellSource::Logged},
    {" Duration", 60, "Duration", "Duration", ValueKind::Duration, CellSource::Written},
    {" PID", 50, "PID", "PID", ValueKind::Number, CellSource::Logged},
    {" Interface", 70, "Interface", "Interface", ValueKind::Text, CellSource::Logged},
    {" Device", 90, "Device", "Device", ValueKind::Text, CellSource::Logged},
    {" Auth", 50, "Auth", "Auth", ValueKind::Text, CellSource::Logged},
    {" Peer", 80, "Peer", "Peer", ValueKind::Text, CellSource::Logged},
    {" Local IP", 95, "Local IP", "Local IP", ValueKind::Address, CellSource::Logged},
    {" Remote IP", 95, "Remote IP", "Remote IP", ValueKind::Address, CellSource::Logged},
    {" Primary DNS", 95, "Primary DNS", "Primary DNS", ValueKind::Address, CellSource::Logged},
    {" Secondary DNS", 95, "Secondary DNS", "Secondary DNS", ValueKind::Address,
     CellSource::Logged},
    {" Connect Time", 75, "Connect Time", "Minutes", ValueKind::Decimal, CellSource::Logged, 1},
    {" Bytes Sent", 80, "Bytes Sent", "Sent", ValueKind::Number, CellSource::Logged},
    {" Bytes Received", 90, "Bytes Received", "Received", ValueKind::Number, CellSource::Logged},
    {" Ended By", 90, "Ended By", "Ended By", ValueKind::Text, CellSource::Logged},
    {" Reason", 250, "Reason", "Reason", ValueKind::Text, CellSource::Logged},
}};

// A row's marks. Every row is a session or a failed attempt; a session
// that ended by echo timeout, the peer, a hangup or for no known reason is
// also dropped, one still open at the end of the log still up. The bits
// stay clear of the dial-up log's kCutShortMark (1).
inline constexpr std::uint32_t kSessionMark = 1u << 1;
inline constexpr std::uint32_t kFailedAttemptMark = 1u << 2;
inline constexpr std::uint32_t kDroppedMark = 1u << 3;
inline constexpr std::uint32_t kStillUpMark = 1u << 4;

// A line's time as the log's clock printed it: seconds since 1970 of that
// clock (the table's times count the same way), and its offset from UTC
// when the line gave one.
struct DatedLine {
    std::int64_t clock = 0;
    std::optional<int> utcOffset;
    friend bool operator==(const DatedLine&, const DatedLine&) = default;
};

// The log's first and last dated lines, any program's: the time the log
// covers. None for a log without dates.
struct LogSpan {
    std::optional<DatedLine> first;
    std::optional<DatedLine> last;
    friend bool operator==(const LogSpan&, const LogSpan&) = default;
};

}  // namespace kestal
