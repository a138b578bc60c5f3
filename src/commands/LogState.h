// What every command works on: the log being shown, its lines and its call
// table.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "bytes/ReadMark.h"
#include "calls/DialUpColumns.h"
#include "journal/JournalLines.h"
#include "lines/LogLines.h"
#include "pppd/LogKind.h"
#include "pppd/PppdReader.h"
#include "table/CallTable.h"

namespace kestal {

// What a pppd log shown keeps besides its table: the reader, which goes on
// reading while the log is followed, and what it gave apart from the rows.
struct PppdShown {
    explicit PppdShown(const PppdReadOptions& readOptions)
        : options(readOptions), reader(readOptions) {}

    PppdReadOptions options;
    PppdReader reader;
    std::uint64_t linesRead = 0;  // the log's lines the reader was given
    // The lines of each table row, for Show Call Details.
    std::vector<std::vector<std::uint64_t>> rowLines;
    std::uint64_t linesNotUnderstood = 0;
    LogSpan span;  // the first and last dated lines
};

// A journal shown as a pppd log: its lines come from the journal, not from
// a file, and the journal stays open to read on while it is followed.
struct JournalShown {
    JournalSource source;
    std::string name;  // "System Journal", or the journal files' or folder's
    // The system's journal over the last so many seconds up to now: its
    // start moves on with every Reload. None: the source's own dates.
    std::optional<std::int64_t> lastSeconds;
    // Shared with the watch that follows it, so that its descriptor stays
    // open for as long as it is watched.
    std::shared_ptr<JournalLines> lines;
};

struct LogState {
    std::string logPath;
    LogLines lines;
    CallTable table{kDialUpColumns};
    ReadMark readMark;  // where the lines came from
    LogKind kind = LogKind::DialUp;
    std::optional<PppdShown> pppd;  // while a pppd log is shown
    // Several files shown as one log (rotated system logs), in the order
    // read; logPath is then the last of them, the newest. Empty for one file.
    std::vector<std::string> joinedPaths;
    bool joinedRead = false;              // and they could all be read
    std::optional<JournalShown> journal;  // while a journal is shown
};

}  // namespace kestal
