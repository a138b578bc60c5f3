#include "LogSources.h"

#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <future>

#include "ToolMessages.h"
#include "platform/Errors.h"
#include "platform/FileSystem.h"
#include "pppd/LinePrefix.h"

namespace kestal::tool {

namespace {

bool gzipMagic(const std::string& path) {
    unsigned char magic[2] = {0, 0};
    const FileDescriptor fd(openFile(path));
    return fd && ::pread(fd.get(), magic, 2, 0) == 2 && magic[0] == 0x1f && magic[1] == 0x8b;
}

std::string fileHead(const std::string& path) {
    std::string head(kKindProbeBytes, '\0');
    const FileDescriptor fd(openFile(path));
    const ssize_t n = fd ? ::pread(fd.get(), head.data(), head.size(), 0) : 0;
    head.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    return head;
}

struct ReaderGone {};

}  // namespace

// Writes all of bytes; false once the other end is closed.
bool sendAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

LogSources::LogSources(const std::vector<std::string>& paths) {
    for (const std::string& path : paths) {
        if (path == kStandardStream) continue;
        const FileDescriptor fd = openFile(path);
        if (!fd) throw FileError{logName(path), std::strerror(errno)};
        const std::optional<FileStatus> status = fileStatus(fd.get());
        if (status && status->folder) throw FileError{logName(path), std::strerror(EISDIR)};
    }
    ordered_ = orderLogFiles(paths, firstDatedTime);
    newestModified_ = newestModification(ordered_);
    single_ =
        ordered_.size() == 1 && ordered_.front() != kStandardStream && !gzipMagic(ordered_.front());
}

LogSources::~LogSources() {
    readEnd_.close();  // a feeder still writing stops
    if (feeder_.joinable()) feeder_.join();
}

LogKind LogSources::detectKind() {
    if (single_) return detectLogKind(fileHead(firstPath()), regionalMonthNames());
    startFeeding();
    return detectLogKind(*head_, regionalMonthNames());
}

int LogSources::pipe() {
    startFeeding();
    return readEnd_.get();
}

void LogSources::startFeeding() {
    if (head_) return;
    int ends[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0)
        throw FileError{logName(firstPath()), std::strerror(errno)};
    readEnd_ = FileDescriptor(ends[0]);
    std::promise<std::string> headPromise;
    std::future<std::string> headFuture = headPromise.get_future();
    feeder_ = std::thread([this, writeEnd = ends[1], promise = std::move(headPromise)]() mutable {
        FileDescriptor out(writeEnd);
        std::string gathered;
        bool told = false;
        auto tell = [&] {
            if (!told) promise.set_value(gathered.substr(0, kKindProbeBytes));
            told = true;
        };
        try {
            notes_ = streamLogFiles(ordered_, [&](std::string_view bytes) {
                if (!told) {
                    gathered.append(bytes);
                    if (gathered.size() < kKindProbeBytes) return;
                    tell();
                    bytes = gathered;
                }
                if (!sendAll(out.get(), bytes)) throw ReaderGone{};
                gathered.clear();
            });
            tell();
            sendAll(out.get(), gathered);
        } catch (const ReaderGone&) {
        } catch (...) {
            failure_ = std::current_exception();
            tell();
        }
    });
    head_ = headFuture.get();
}

std::uint64_t LogSources::expectedBytes() const {
    std::uint64_t total = 0;
    for (const std::string& path : ordered_) {
        if (path == kStandardStream) return 0;
        const std::optional<FileStatus> status = pathStatus(path);
        if (!status) continue;
        std::uint64_t bytes = status->size;
        unsigned char trailer[4] = {0, 0, 0, 0};
        const FileDescriptor fd(openFile(path));
        // gzip ends with the uncompressed size modulo 4 GiB.
        if (gzipMagic(path) && status->size >= 4 && fd &&
            ::pread(fd.get(), trailer, 4, static_cast<off_t>(status->size - 4)) == 4) {
            const std::uint64_t size = trailer[0] | trailer[1] << 8 | trailer[2] << 16 |
                                       static_cast<std::uint64_t>(trailer[3]) << 24;
            bytes = std::max(size, status->size);
        }
        total += bytes;
    }
    return total;
}

void LogSources::finish() {
    if (feeder_.joinable()) feeder_.join();
    if (failure_) {
        try {
            std::rethrow_exception(failure_);
        } catch (const CommandError& error) {
            throw FileError{logName(firstPath()), error.what()};
        }
    }
    for (const LogFileNote& note : notes_) report(logName(note.path), note.text);
}

}  // namespace kestal::tool
