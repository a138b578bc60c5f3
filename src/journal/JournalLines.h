// pppd's entries in the systemd journal, read through libsystemd as the
// lines of a log: each entry of pppd (and of chat) becomes one line of
// text, which the pppd reader reads as it reads any system log. Reading
// goes on where it stopped, so a followed journal only adds lines.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kestal {

// Which journal to read, and which part of it.
struct JournalSource {
    // Journal files (as journalctl --file); empty with directory empty: the
    // system's journal (local, all boots).
    std::vector<std::string> files;
    std::string directory;  // as journalctl --directory
    // Entries written at or after since and before until, microseconds
    // since the epoch.
    std::optional<std::int64_t> sinceUsec;
    std::optional<std::int64_t> untilUsec;
};

// Why a journal gave no pppd entries, when that is not just an empty log.
enum class JournalAccess {
    Readable,
    NoJournal,       // no journal on this machine / no such files
    OwnEntriesOnly,  // the user may read only their own entries
};

class JournalLines {
public:
    // Opens the journal. Throws CommandError (platform/Errors.h) with a
    // message for the user when it can't be opened at all.
    explicit JournalLines(const JournalSource& source);
    ~JournalLines();
    JournalLines(JournalLines&&) noexcept;
    JournalLines& operator=(JournalLines&&) noexcept;

    // Appends to text the entries of pppd and chat written after those read
    // before (all of them, oldest first, on the first call), each as one
    // line ended by '\n'. Gives the number of lines appended.
    std::size_t readNew(std::string& text);
    // The same, stopping after maxLines lines: a big journal read a part at
    // a time.
    std::size_t readNew(std::string& text, std::size_t maxLines);

    // For following: a descriptor to watch for reading (sd_journal_get_fd),
    // and what to call when it is ready (sd_journal_process); true when
    // entries may have been added (then call readNew).
    int descriptor();
    bool processChanges();

    JournalAccess access() const;
    // The group whose members may read every entry on this system
    // ("systemd-journal"), for the message telling the user to join it.
    std::string readerGroup() const;

private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace kestal
