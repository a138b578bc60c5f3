// The systemd journal shown as a pppd log: File > Open System Journal (over
// a period), journal files chosen in File > Open or named on the command
// line, and Reload of either.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "commands/LoadView.h"
#include "commands/LogState.h"
#include "journal/JournalLines.h"
#include "platform/DateTime.h"
#include "platform/Platform.h"

namespace kestal::commands {

// The periods File > Open System Journal offers, each up to now.
enum class JournalPeriod { Day, Week, Month, Everything };

// Where a period begins, microseconds since the epoch, now being the local
// time the platform's clock gives; nothing for everything.
std::optional<std::int64_t> periodStart(JournalPeriod period, const DateTime& now);

// Whether path names a journal file (journalctl's *.journal, and *.journal~
// of a journal that was not closed cleanly).
bool isJournalFile(std::string_view path);

// What the caption calls a journal: "System Journal", the folder, or the
// file (the first, "and 2 more" for the others).
std::string journalName(const JournalSource& source);

// Shows the journal's pppd entries instead of the log shown: Clear off, the
// caption naming the journal, then loadJournal.
// lastSeconds: the system's journal over the last so many seconds, taken
// up to the time of each Reload.
void openJournal(LogState& state, Platform& platform, LoadView& view, const JournalSource& source,
                 std::optional<std::int64_t> lastSeconds = std::nullopt);

// File > Open System Journal: the system's journal over period, which
// Reload takes up to the time it reloads.
void openSystemJournal(LogState& state, Platform& platform, LoadView& view, JournalPeriod period);

// Reads state.journal's entries anew into the lines and the pppd table.
// A journal that can't be opened says why; one that gives no pppd entries
// because the user may not read them, or because there is no journal, says
// that in one sentence.
void loadJournal(LogState& state, Platform& platform, LoadView& view);

// The sentence for a journal that can't be read as a whole; empty when it
// can.
std::string journalAccessText(JournalAccess access, std::string_view readerGroup);

}  // namespace kestal::commands
