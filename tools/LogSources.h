// The logs named on kestal-calls' command line read as one: in the order
// of their first dated line, .gz files decompressed, standard input
// among them. One plain file is read straight from its descriptor (two
// threads, the progress bar); anything else is fed through a pipe by a
// thread of its own, so that the readers see one stream either way.
#pragma once

#include <cstdint>
#include <exception>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "bytes/LogFiles.h"
#include "platform/FileDescriptor.h"
#include "pppd/LogKind.h"

namespace kestal::tool {

// Writes all of bytes to a socket; false once the other end is closed.
bool sendAll(int fd, std::string_view bytes);

class LogSources {
public:
    // Throws FileError for a file that can't be opened.
    explicit LogSources(const std::vector<std::string>& paths);
    LogSources(const LogSources&) = delete;
    LogSources& operator=(const LogSources&) = delete;
    ~LogSources();

    // One plain file (or standard input alone): read it as it is.
    bool single() const { return single_; }
    const std::string& firstPath() const { return ordered_.front(); }
    const std::vector<std::string>& ordered() const { return ordered_; }

    // The kind of the log, from its first 64 KiB. Starts the feeding
    // thread when there is one.
    LogKind detectKind();
    // The pipe the joined log comes out of (not single()).
    int pipe();
    // Waits for the feeding thread and reports the files that ended early
    // (a .gz cut short); a file that failed is thrown as FileError.
    void finish();

    // About how many bytes the joined log holds: the plain files' sizes and
    // the compressed ones' as their gzip trailer gives it (for the progress
    // bar; 0 with standard input).
    std::uint64_t expectedBytes() const;

    // The newest of the files' modification times (standard input: now).
    std::int64_t newestModified() const { return newestModified_; }

private:
    void startFeeding();

    std::vector<std::string> ordered_;
    bool single_ = false;
    std::int64_t newestModified_ = 0;
    std::optional<std::string> head_;
    FileDescriptor readEnd_;
    std::thread feeder_;
    std::vector<LogFileNote> notes_;
    std::exception_ptr failure_;
};

}  // namespace kestal::tool
