// One journal entry as one line of a system log, in the style journalctl
// prints with -o short-iso, so that the pppd reader reads it as it reads
// journalctl's text and the details show it as such. An entry that style
// can't carry unchanged (a message with a line break or another control
// byte, an odd identifier, a time the style can't print) becomes the line
// journalctl -o json writes for it, holding the fields the reader uses.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kestal {

struct JournalEntry {
    std::int64_t realtimeUsec = 0;               // __REALTIME_TIMESTAMP
    std::optional<std::string_view> hostname;    // _HOSTNAME
    std::optional<std::string_view> identifier;  // SYSLOG_IDENTIFIER
    std::optional<std::string_view> pid;         // _PID, as stored
    std::string_view message;                    // MESSAGE
};

// Appends the entry's line, ended by '\n', to text. Times are printed in
// the program's time zone (TZ), as journalctl prints them.
void appendEntryLine(const JournalEntry& entry, std::string& text);

}  // namespace kestal
