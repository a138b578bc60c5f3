// Several files read as one log: rotated system logs (syslog, syslog.1,
// syslog.2.gz ...) in the order of their first dated line, each plain or
// gzip-compressed. A compressed file cut short gives what it holds and a
// note saying so; nothing stops at it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kestal {

// "-" stands for standard input, read as it comes (never ordered).
inline constexpr std::string_view kStandardInputPath = "-";

// Something to tell the user about one file, read all the same.
struct LogFileNote {
    std::string path;
    std::string text;
};

// When a file's log begins: the time of its first dated line (seconds,
// any fixed clock) from the file's first bytes, the year of a date printed
// without one taken from the file's modification time (seconds since the
// epoch). None: no dated line there.
using FirstDatedTime =
    std::function<std::optional<std::int64_t>(std::string_view head, std::int64_t modified)>;

// One file's bytes, decompressed when they are gzip's (a plain file is read
// as it is). Throws CommandError naming the file when it can't be opened.
class LogFileReader {
public:
    explicit LogFileReader(const std::string& path);
    ~LogFileReader();
    LogFileReader(const LogFileReader&) = delete;
    LogFileReader& operator=(const LogFileReader&) = delete;

    // The next bytes into buffer: how many, 0 at the end (also after a
    // failure, which note() then tells).
    std::size_t read(std::span<char> buffer);
    // Empty, or why the file ended early ("compressed data cut short").
    const std::string& note() const { return note_; }
    const std::string& path() const { return path_; }

private:
    std::string path_;
    void* file_ = nullptr;  // zlib's gzFile
    std::string note_;
    bool ended_ = false;
};

// Whether a file's name says it is gzip-compressed (.gz), for the file
// dialogs' filters and messages.
bool compressedLogName(std::string_view path);

// The files in the order their logs begin: by first dated line (read from
// up to 64 KiB of each), a file without one by its modification time, ties
// in the order given. Standard input stays where it is given.
std::vector<std::string> orderLogFiles(const std::vector<std::string>& paths,
                                       const FirstDatedTime& firstDatedTime);

// The newest modification time among the files, seconds since the epoch
// (standard input: now).
std::int64_t newestModification(const std::vector<std::string>& paths);

// Hands the bytes of the files, in the order given, to take, a piece at a
// time; a file that doesn't end with a line end gets one, so that its last
// line stays its own. Returns the notes of the files that ended early.
std::vector<LogFileNote> streamLogFiles(const std::vector<std::string>& paths,
                                        const std::function<void(std::string_view)>& take);

// All the files' bytes as one log, ordered as orderLogFiles does.
struct LogFilesBytes {
    std::string bytes;
    std::vector<LogFileNote> notes;
    std::int64_t newestModified = 0;
    // Where the last file's bytes begin in bytes (as read: decompressed
    // when it is compressed).
    std::size_t lastFileStart = 0;
};
LogFilesBytes readLogFiles(const std::vector<std::string>& paths,
                           const FirstDatedTime& firstDatedTime);

}  // namespace kestal
