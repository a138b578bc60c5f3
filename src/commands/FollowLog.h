// Following a shown log as it grows: only the bytes added since the last
// look are read, and the calls are walked again from the last one on.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calls/DialUpColumns.h"
#include "commands/LogState.h"
#include "platform/RegionalSettings.h"
#include "table/CallTable.h"

namespace kestal {

// What a look at the shown log found.
enum class LogChange {
    None,       // nothing new (also: no file there now, or its text ended at a NUL)
    Grew,       // bytes were added: see LogGrowth
    Rewritten,  // shrunk, replaced, or not read yet: read it again whole
};

// The calls from the last one shown on, after the log grew.
struct LogGrowth {
    int firstRow = 0;                 // the table row the first of calls takes
    CallTable calls{kDialUpColumns};  // in a table of their own, row 0 and on
    // A pppd log's: the lines of each row and the lines not understood (its
    // growth is always its whole table, from row 0).
    std::vector<std::vector<std::uint64_t>> rowLines;
    std::uint64_t linesNotUnderstood = 0;
    LogSpan span;  // of a pppd log
};

class LogFollower {
public:
    // Following (re)starts on the log as the last load left it: the counts
    // begin from nothing.
    void start();

    // Looks at state.logPath (at a journal shown: its entries written since
    // it was read last). When it grew, the new bytes are added to
    // state.lines (and state.readMark), and the calls from the last one on
    // are walked into growth; state.table is left to replaceCallsFrom, so
    // that the window can tell its view what changes. Asks nothing.
    LogChange look(LogState& state, const RegionalSettings& settings, LogGrowth& growth);

    // The log was read again whole, with corruptCalls calls whose times
    // couldn't be read (no warning was shown for them).
    void readWhole(int corruptCalls);

    // Calls whose times couldn't be read, found while following and shown
    // without a warning; the last call counts once however often it grew.
    int corruptCalls() const { return corruptBefore_ + (lastCorrupt_ ? 1 : 0); }

    // Runs after each piece of new bytes is read (tests change the file
    // there).
    std::function<void()> afterRead;

private:
    struct FileLook {
        std::uint64_t device = 0, inode = 0, size = 0;
        std::int64_t modified = 0;  // nanoseconds
        bool operator==(const FileLook&) const = default;
    };
    LogChange grow(LogState& state, const RegionalSettings& settings, LogGrowth& growth);

    int corruptBefore_ = 0;     // among the calls before the last one
    bool lastCorrupt_ = false;  // the last call, when walked while following
    // The file as it was when it was last found rewritten: a read of it
    // that failed is not tried again until the file changes.
    std::optional<FileLook> rewritten_;
};

// What the status bar says while following: "Following", the corrupted
// calls shown without a warning, a NUL byte that ended the text, a read
// that failed. say, when given, puts each part in the user's language.
using SayText = std::function<std::string(std::string_view text)>;
std::string followStatusText(int corruptCalls, bool endedAtNul, bool readFailed,
                             const SayText& say = {});

// Puts the calls of growth in the table, from its first row on.
void replaceCallsFrom(CallTable& table, const LogGrowth& growth);

// The same into the state shown, with a pppd log's row lines and counts.
void takeGrowth(LogState& state, LogGrowth& growth);

}  // namespace kestal
