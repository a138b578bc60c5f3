#include "log/LogLines.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/Errors.h"

namespace kestal {

namespace {

// Closes a descriptor when the reading ends, however it ends.
class DescriptorCloser {
public:
    explicit DescriptorCloser(int fd) : fd_(fd) {}
    ~DescriptorCloser() {
        if (fd_ >= 0) ::close(fd_);
    }
    DescriptorCloser(const DescriptorCloser&) = delete;
    DescriptorCloser& operator=(const DescriptorCloser&) = delete;

private:
    int fd_;
};

constexpr std::size_t kMinimumReadChunk = 64 * 1024;
constexpr std::size_t kProgressPiece = std::size_t{4} << 20;

}  // namespace

void LogLines::assign(std::string bytes) {
    spans_.clear();
    bytes_ = std::move(bytes);

    // The first NUL ends the text; what follows it is never looked at.
    const char* const begin = bytes_.data();
    const void* nul = std::memchr(begin, '\0', bytes_.size());
    const char* const end = nul ? static_cast<const char*>(nul) : begin + bytes_.size();
    if (begin == end) return;

    // One cheap pass to size the index: most logs end their lines with LF.
    spans_.reserve(static_cast<std::size_t>(std::count(begin, end, '\n')) + 1);

    const char* lineStart = begin;
    auto addLine = [&](const char* lineEnd) {
        spans_.push_back(Span{static_cast<std::uint64_t>(lineStart - begin),
                              static_cast<std::uint64_t>(lineEnd - lineStart)});
    };
    while (lineStart < end) {
        // Lines are cut at LF first; a CR inside the stretch before it is
        // either the CR of a CR LF pair (just before the LF) or a line end of
        // its own.
        const void* lf = std::memchr(lineStart, '\n', static_cast<std::size_t>(end - lineStart));
        const char* const stretchEnd = lf ? static_cast<const char*>(lf) : end;
        for (;;) {
            const void* cr =
                std::memchr(lineStart, '\r', static_cast<std::size_t>(stretchEnd - lineStart));
            if (!cr) break;
            const char* const crAt = static_cast<const char*>(cr);
            addLine(crAt);
            lineStart = crAt + 1;
            if (lineStart == stretchEnd && lf) {
                ++lineStart;  // CR LF: one line end
                break;
            }
        }
        if (lineStart > stretchEnd) continue;  // the CR LF pair ended the stretch
        if (lf) {
            addLine(stretchEnd);
            lineStart = stretchEnd + 1;
        } else {
            // Text after the last line end forms the last line.
            if (lineStart < end) addLine(end);
            lineStart = end;
        }
    }
}

LogLines LogLines::fromBytes(std::string bytes) {
    LogLines lines;
    lines.assign(std::move(bytes));
    return lines;
}

void LogLines::clear() {
    spans_.clear();
    spans_.shrink_to_fit();
    bytes_.clear();
    bytes_.shrink_to_fit();
}

std::uint64_t LogLines::joinedLength() const {
    std::uint64_t total = 0;
    for (const Span& s : spans_) total += s.length + 2;
    return total;
}

std::string readDescriptorBytes(int fd, const std::string& path) {
    return readDescriptorBytes(fd, path, ReadProgress{});
}

std::string readDescriptorBytes(int fd, const std::string& path, const ReadProgress& progress) {
    // The size is only a hint for the first buffer: the file is read until
    // the system says it ends, so a log that grows meanwhile is read whole.
    struct stat st {};
    std::size_t capacity = kMinimumReadChunk;
    std::uint64_t expected = 0;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0) {
        const off_t position = ::lseek(fd, 0, SEEK_CUR);
        const off_t left = st.st_size - (position > 0 ? position : 0);
        // One byte more than expected, so that the end shows up without a
        // second allocation.
        if (left > 0) {
            capacity = static_cast<std::size_t>(left) + 1;
            expected = static_cast<std::uint64_t>(left);
        }
    }
    std::string bytes;
    bytes.resize(capacity);
    std::size_t used = 0;
    for (;;) {
        if (used == bytes.size()) bytes.resize(std::max(bytes.size() * 2, kMinimumReadChunk));
        const std::size_t room = bytes.size() - used;
        const ssize_t got =
            ::read(fd, bytes.data() + used, progress ? std::min(room, kProgressPiece) : room);
        if (got == 0) break;
        if (got < 0) {
            if (errno == EINTR) continue;
            throw cannotOpenFile(path);
        }
        used += static_cast<std::size_t>(got);
        if (progress) progress(used, expected);
    }
    bytes.resize(used);
    return bytes;
}

std::string readFileBytes(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) throw cannotOpenFile(path);
    DescriptorCloser closer(fd);
    return readDescriptorBytes(fd, path);
}

void readLogFile(const std::string& path, LogLines& lines) {
    lines.clear();
    lines.assign(readFileBytes(path));
}

std::string withoutNulBytes(std::string_view bytes) {
    std::string result;
    result.reserve(bytes.size());
    std::size_t from = 0;
    while (from < bytes.size()) {
        std::size_t nul = bytes.find('\0', from);
        if (nul == std::string_view::npos) nul = bytes.size();
        result.append(bytes.substr(from, nul - from));
        from = nul + 1;
    }
    return result;
}

}  // namespace kestal
