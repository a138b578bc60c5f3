// kestal-calls --journal: pppd's entries of the systemd journal, as lines
// through a pipe that the pppd reader reads as it reads a system log, fed
// by a thread of its own.
#pragma once

#include <cstdint>
#include <exception>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

#include "journal/JournalLines.h"
#include "platform/FileDescriptor.h"

namespace kestal::tool {

// A time for --since or --until: MM-DD-YYYY (as --from and --to), or
// YYYY-MM-DD, with " HH:MM" or " HH:MM:SS" (or 'T' for the blank) after it,
// in local time; a date alone is its midnight. Microseconds since the epoch.
std::optional<std::int64_t> readJournalTime(std::string_view text);

// What kestal-calls says when the journal gave no pppd entries because the
// user may not read them, or because there is none.
std::string ownEntriesOnlyText(std::string_view group);
std::string noJournalText(const JournalSource& source);

class JournalInput {
public:
    // Opens the journal and reads its first entries. Throws FileError when
    // it can't be opened, or when it gives no pppd entry for a reason the
    // user must hear (their rights, no journal at all).
    explicit JournalInput(const JournalSource& source);
    JournalInput(const JournalInput&) = delete;
    JournalInput& operator=(const JournalInput&) = delete;
    ~JournalInput();

    // The pipe the lines come out of; starts the feeding thread.
    int pipe();
    // Waits for the feeding thread; a failure of the journal is thrown as
    // FileError.
    void finish();

private:
    JournalLines journal_;
    std::string first_;
    FileDescriptor readEnd_;
    std::thread feeder_;
    std::exception_ptr failure_;
};

}  // namespace kestal::tool
