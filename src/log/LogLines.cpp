#include "log/LogLines.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/Errors.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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
constexpr std::size_t kNoPosition = static_cast<std::size_t>(-1);
constexpr std::size_t kProgressPiece = std::size_t{4} << 20;
constexpr std::size_t kReadPiece = std::size_t{1} << 20;

}  // namespace

void LogLines::assign(std::string bytes) {
    ends_.clear();
    bytes_ = std::move(bytes);
    const char* const text = bytes_.data();
    const std::size_t size = bytes_.size();
    if (size == 0 || text[0] == '\0') return;

    // Room for lines of 32 bytes on average; pages of the index that stay
    // unused are never touched, so this costs no memory, and spares the
    // copies of a growing index.
    ends_.reserve(size / 32 + 1);

    std::size_t lineStart = 0;
    std::size_t pairedLf = kNoPosition;  // the LF of a CR LF pair, already counted
    bool nulFound = false;
    auto addLine = [&](std::size_t end, std::uint64_t lineEndLength) {
        ends_.push_back(static_cast<std::uint64_t>(end) << 2 | lineEndLength);
    };
    // Every CR, LF or NUL of the text passes through here, in order. Returns
    // false at the first NUL, which ends the text and its line.
    auto atSpecialByte = [&](std::size_t at) {
        if (at == pairedLf) return true;
        const char c = text[at];
        if (c == '\0') {
            if (lineStart < at) addLine(at, 0);
            nulFound = true;
            return false;
        }
        if (c == '\r' && at + 1 < size && text[at + 1] == '\n') {
            addLine(at, 2);
            pairedLf = at + 1;
            lineStart = at + 2;
        } else {
            addLine(at, 1);
            lineStart = at + 1;
        }
        return true;
    };

    std::size_t at = 0;
#if defined(__SSE2__)
    // Sixteen bytes at a time: a mask of where CR, LF and NUL stand.
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i nul = _mm_setzero_si128();
    for (; at + 16 <= size && !nulFound; at += 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + at));
        auto mask = static_cast<unsigned>(_mm_movemask_epi8(
            _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(block, cr), _mm_cmpeq_epi8(block, lf)),
                         _mm_cmpeq_epi8(block, nul))));
        while (mask != 0) {
            if (!atSpecialByte(at + static_cast<std::size_t>(__builtin_ctz(mask)))) break;
            mask &= mask - 1;
        }
    }
#endif
    for (; at < size && !nulFound; ++at) {
        const char c = text[at];
        if (c == '\r' || c == '\n' || c == '\0') atSpecialByte(at);
    }
    // Text after the last line end forms the last line.
    if (!nulFound && lineStart < size) addLine(size, 0);
}

LogLines LogLines::fromBytes(std::string bytes) {
    LogLines lines;
    lines.assign(std::move(bytes));
    return lines;
}

void LogLines::clear() {
    ends_.clear();
    ends_.shrink_to_fit();
    bytes_.clear();
    bytes_.shrink_to_fit();
}

std::uint64_t LogLines::joinedLength() const {
    std::uint64_t total = 0;
    std::uint64_t start = 0;
    for (const std::uint64_t end : ends_) {
        total += (end >> 2) - start + 2;
        start = nextStart(end);
    }
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
    bytes.reserve(capacity);
    std::size_t used = 0;
    for (;;) {
        if (used == bytes.capacity())
            bytes.reserve(std::max(bytes.capacity() * 2, kMinimumReadChunk));
        // The string is lengthened a piece at a time just before each read:
        // the zeros it writes are still in the cache when the read overwrites
        // them, instead of a pass over the whole buffer beforehand.
        const std::size_t room =
            std::min(bytes.capacity() - used, progress ? kProgressPiece : kReadPiece);
        bytes.resize(used + room);
        const ssize_t got = ::read(fd, bytes.data() + used, room);
        if (got < 0 && errno == EINTR) {
            bytes.resize(used);
            continue;
        }
        if (got < 0) throw cannotOpenFile(path);
        used += static_cast<std::size_t>(got);
        bytes.resize(used);
        if (got == 0) break;
        if (progress) progress(used, expected);
    }
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
