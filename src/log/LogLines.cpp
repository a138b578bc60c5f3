#include "log/LogLines.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>

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
constexpr std::size_t kProgressPiece = std::size_t{4} << 20;
constexpr std::size_t kReadPiece = std::size_t{1} << 20;
// Pieces read into a ReadBuffer: small enough that the lines are cut while
// the piece is still in the processor's cache (faster than 1 MiB pieces).
constexpr std::size_t kBufferPiece = std::size_t{256} << 10;

// Lines of this many bytes on average fill the index reserved up front.
constexpr std::size_t kIndexBytesPerLine = 32;

// What is left of an open file by its size, 0 when that isn't known. Only a
// hint: a file that grows meanwhile is read to its new end.
std::size_t expectedSize(int fd) {
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size <= 0) return 0;
    const off_t position = ::lseek(fd, 0, SEEK_CUR);
    const off_t left = st.st_size - (position > 0 ? position : 0);
    return left > 0 ? static_cast<std::size_t>(left) : 0;
}

// Appends the rest of an open file to bytes until the system says it ends,
// calling afterPiece(bytes read so far) after each piece that came in.
template <typename AfterPiece>
void readPieces(int fd, const std::string& path, std::string& bytes, std::size_t expected,
                std::size_t piece, AfterPiece afterPiece) {
    // One byte more than expected, so that the end shows up without a
    // second allocation.
    bytes.reserve(std::max(expected + 1, kMinimumReadChunk));
    std::size_t used = bytes.size();
    for (;;) {
        if (used == bytes.capacity())
            bytes.reserve(std::max(bytes.capacity() * 2, kMinimumReadChunk));
        // The string is lengthened a piece at a time just before each read:
        // the zeros it writes are still in the cache when the read overwrites
        // them, instead of a pass over the whole buffer beforehand.
        const std::size_t room = std::min(bytes.capacity() - used, piece);
        bytes.resize(used + room);
        const ssize_t got = ::read(fd, bytes.data() + used, room);
        if (got < 0 && errno == EINTR) {
            bytes.resize(used);
            continue;
        }
        if (got < 0) throw cannotOpenFile(path);
        used += static_cast<std::size_t>(got);
        bytes.resize(used);
        if (got == 0) return;
        afterPiece(used);
    }
}

std::size_t pageSize() {
    static const auto page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    return page;
}

std::size_t roundUpToPages(std::size_t bytes) {
    return (bytes + pageSize() - 1) / pageSize() * pageSize();
}

// Makes the whole pages between begin and end present at once: one call
// instead of a page fault for each page. A system without this leaves them
// to page faults.
void populatePages(const void* begin, const void* end) {
#if defined(MADV_POPULATE_WRITE)
    const std::uintptr_t first = roundUpToPages(reinterpret_cast<std::uintptr_t>(begin));
    const std::uintptr_t last = reinterpret_cast<std::uintptr_t>(end) / pageSize() * pageSize();
    if (first < last) ::madvise(reinterpret_cast<void*>(first), last - first, MADV_POPULATE_WRITE);
#else
    (void)begin;
    (void)end;
#endif
}

// A buffer of anonymous memory mapped for the bytes of one file, read into a
// piece at a time. Unlike a string lengthened for each read, it is never
// filled with zeros first (the kernel clears each new page anyway), and its
// pages are made present a piece at a time rather than faulted in one by
// one. Growing it, for a file that grows while read, moves page tables, not
// bytes.
class ReadBuffer {
public:
    ReadBuffer() = default;
    ReadBuffer(const ReadBuffer&) = delete;
    ReadBuffer& operator=(const ReadBuffer&) = delete;
    ~ReadBuffer() {
        if (mapping_ != nullptr) ::munmap(mapping_, length_);
    }

    // Reads up to a piece more from fd (the buffer grown to hold it first)
    // and returns how many bytes came, 0 at the end of the file, -1 with
    // errno when the read failed.
    ssize_t readPiece(int fd, std::size_t expected) {
        reserve(std::max(used_ + kBufferPiece, expected + 1));
        const std::size_t room = std::min(length_ - used_, kBufferPiece);
        populatePages(mapping_ + used_, mapping_ + used_ + room);
        ssize_t got;
        do {
            got = ::read(fd, mapping_ + used_, room);
        } while (got < 0 && errno == EINTR);
        if (got > 0) used_ += static_cast<std::size_t>(got);
        return got;
    }

    const char* data() const { return mapping_; }
    std::size_t size() const { return used_; }

    // The bytes read, kept for good; pages never used go back.
    MappedBytes finish() {
        const std::size_t kept = roundUpToPages(used_);
        if (kept < length_) ::munmap(mapping_ + kept, length_ - kept);
        MappedBytes bytes(kept > 0 ? mapping_ : nullptr, kept, used_);
        mapping_ = nullptr;
        length_ = 0;
        return bytes;
    }

private:
    // Room for at least bytes.
    void reserve(std::size_t bytes) {
        if (bytes <= length_) return;
        const std::size_t length = roundUpToPages(std::max(bytes, length_ * 2));
        void* mapping = mapping_ == nullptr ? ::mmap(nullptr, length, PROT_READ | PROT_WRITE,
                                                     MAP_PRIVATE | MAP_ANONYMOUS, -1, 0)
                                            : ::mremap(mapping_, length_, length, MREMAP_MAYMOVE);
        if (mapping == MAP_FAILED) throw std::bad_alloc();
        mapping_ = static_cast<char*>(mapping);
        length_ = length;
    }

    char* mapping_ = nullptr;
    std::size_t length_ = 0;
    std::size_t used_ = 0;
};

// Reads the rest of an open file until the system says it ends, calling
// afterPiece(bytes, bytes read so far) after each piece.
template <typename AfterPiece>
MappedBytes readIntoBuffer(int fd, const std::string& path, std::size_t expected,
                           AfterPiece afterPiece) {
    ReadBuffer buffer;
    for (;;) {
        const ssize_t got = buffer.readPiece(fd, expected);
        if (got == 0) break;
        if (got < 0) throw cannotOpenFile(path);
        afterPiece(buffer.data(), buffer.size());
    }
    return buffer.finish();
}

}  // namespace

MappedBytes::~MappedBytes() {
    if (data_ != nullptr) ::munmap(data_, length_);
}

void LogLines::cut(Cutter& cutter, std::size_t limit, std::string_view available) {
    if (cutter.ended) return;
    const char* const text = available.data();
    auto addLine = [this](std::size_t end, std::uint64_t lineEndLength) {
        ends_.push_back(static_cast<std::uint64_t>(end) << 2 | lineEndLength);
        lineEndBytes_ += lineEndLength;
    };
    // Every CR, LF or NUL of the text passes through here, in order. Returns
    // false at the first NUL, which ends the text and its line.
    auto atSpecialByte = [&](std::size_t at) {
        if (at == cutter.pairedLf) return true;
        const char c = text[at];
        if (c == '\0') {
            if (cutter.lineStart < at) addLine(at, 0);
            cutter.ended = true;
            return false;
        }
        if (c == '\r' && at + 1 < available.size() && text[at + 1] == '\n') {
            addLine(at, 2);
            cutter.pairedLf = at + 1;
            cutter.lineStart = at + 2;
        } else {
            addLine(at, 1);
            cutter.lineStart = at + 1;
        }
        return true;
    };

    std::size_t at = cutter.scanned;
#if defined(__SSE2__)
    // Sixteen bytes at a time: a mask of where CR, LF and NUL stand.
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i nul = _mm_setzero_si128();
    for (; at + 16 <= limit && !cutter.ended; at += 16) {
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
    for (; at < limit && !cutter.ended; ++at) {
        const char c = text[at];
        if (c == '\r' || c == '\n' || c == '\0') atSpecialByte(at);
    }
    cutter.scanned = std::max(cutter.scanned, limit);
}

void LogLines::finish(const Cutter& cutter, std::size_t size) {
    if (!cutter.ended && cutter.lineStart < size)
        ends_.push_back(static_cast<std::uint64_t>(size) << 2);
}

void LogLines::assign(std::string bytes) {
    ends_.clear();
    lineEndBytes_ = 0;
    bytes_ = LogBytes(std::move(bytes));
    const std::string_view text = bytes_.view();
    // Room for lines of 32 bytes on average; pages of the index that stay
    // unused are never touched, so this costs no memory, and spares the
    // copies of a growing index.
    ends_.reserve(text.size() / kIndexBytesPerLine + 1);
    Cutter cutter;
    cut(cutter, text.size(), text);
    finish(cutter, text.size());
}

void LogLines::assignFrom(int fd, const std::string& path) {
    clear();
    const std::size_t expected = expectedSize(fd);
    ends_.reserve(expected / kIndexBytesPerLine + 1);
    Cutter cutter;
    const auto cutPiece = [&](const char* bytes, std::size_t used) {
        prepareIndex(used - cutter.scanned);
        // The last byte waits for the next piece: a CR there may be the
        // first half of a CR LF pair.
        if (used > 1) cut(cutter, used - 1, std::string_view(bytes, used));
    };
    try {
        bytes_ = LogBytes(readIntoBuffer(fd, path, expected, cutPiece));
    } catch (...) {
        clear();
        throw;
    }
    const std::string_view all = bytes_.view();
    cut(cutter, all.size(), all);
    finish(cutter, all.size());
}

void LogLines::prepareIndex(std::size_t bytes) {
    const std::size_t entries =
        std::min(ends_.capacity(), ends_.size() + bytes / kIndexBytesPerLine + 1);
    // Room the index already has, written or not: the pages stay its own.
    populatePages(ends_.data() + ends_.size(), ends_.data() + entries);
}

LogLines LogLines::fromBytes(std::string bytes) {
    LogLines lines;
    lines.assign(std::move(bytes));
    return lines;
}

void LogLines::clear() {
    ends_.clear();
    ends_.shrink_to_fit();
    lineEndBytes_ = 0;
    bytes_ = LogBytes();
}

std::uint64_t LogLines::joinedLength() const {
    if (ends_.empty()) return 0;
    // The lines lie back to back from the first byte on: their lengths add
    // up to where the last one ends, less the line ends before it.
    const std::uint64_t last = ends_.back();
    const std::uint64_t lengths = (last >> 2) - (lineEndBytes_ - (last & 3));
    return lengths + 2 * std::uint64_t{ends_.size()};
}

std::string readDescriptorBytes(int fd, const std::string& path) {
    return readDescriptorBytes(fd, path, ReadProgress{});
}

std::string readDescriptorBytes(int fd, const std::string& path, const ReadProgress& progress) {
    const std::size_t expected = expectedSize(fd);
    std::string bytes;
    readPieces(fd, path, bytes, expected, progress ? kProgressPiece : kReadPiece,
               [&](std::size_t used) {
                   if (progress) progress(used, expected);
               });
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
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) throw cannotOpenFile(path);
    DescriptorCloser closer(fd);
    lines.assignFrom(fd, path);
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
