#include "log/LogLines.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>
#include <thread>

#include "log/SideBySide.h"
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

// Files this big are read by two threads at once (when there are two
// processors): reading a file copies it and clears the pages it goes to, and
// that work halves.
constexpr std::size_t kTwoThreadMinimum = std::size_t{16} << 20;
constexpr std::size_t kCacheLine = 64;

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
        const ssize_t got = readAt(fd, -1, used_, std::min(length_ - used_, kBufferPiece));
        if (got > 0) used_ += static_cast<std::size_t>(got);
        return got;
    }

    // Reads up to count bytes from fd into the room reserved at byte at,
    // from the file's byte offset on (-1: from where fd stands), and
    // returns how many came, as readPiece. Leaves size() as it is: several
    // threads may read into parts of the room that don't overlap.
    ssize_t readAt(int fd, off_t offset, std::size_t at, std::size_t count) {
        populatePages(mapping_ + at, mapping_ + at + count);
        ssize_t got;
        do {
            got = offset < 0 ? ::read(fd, mapping_ + at, count)
                             : ::pread(fd, mapping_ + at, count, offset);
        } while (got < 0 && errno == EINTR);
        return got;
    }

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

    // The first bytes read into the room count as read; what stands after
    // them is read again.
    void setSize(std::size_t used) { used_ = used; }

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
    char* mapping_ = nullptr;
    std::size_t length_ = 0;
    std::size_t used_ = 0;
};

// Cuts text into lines, a piece at a time as it is read, and writes one
// index entry per line (see LogLines) into the index it is given.
class LineCutter {
public:
    // Cutting from byte from of the text on, a line starting there.
    explicit LineCutter(std::vector<std::uint64_t>& ends, std::size_t from = 0)
        : ends_(&ends), scanned_(from), lineStart_(from) {}

    // Cuts lines up to byte limit of the text; available holds the text
    // read so far, from its first byte. A CR just before the limit may wait
    // for the byte after it, so limit stays below available's end until the
    // text is whole.
    void cut(std::size_t limit, std::string_view available);

    // The text after the last line end forms the last line; size is the
    // text's whole length.
    void finish(std::size_t size) {
        if (!ended_ && lineStart_ < size) ends_->push_back(static_cast<std::uint64_t>(size) << 2);
    }

    // Goes on with what later cut, from byte from of the same text on, at
    // the same time as this cutter cut the bytes before from. later began
    // without knowing the text before from: whether a LF there closes a CR LF
    // pair, or whether a line a NUL ends began before it. So this cutter
    // cuts up to later's first line end after byte from itself; from there
    // on both stand at the same place, and later's lines are taken over.
    // available holds the text read so far.
    void takeOver(const LineCutter& later, std::size_t from, std::string_view available);

    std::uint64_t lineEndBytes() const { return lineEndBytes_; }

private:
    void addLine(std::size_t end, std::uint64_t lineEndLength) {
        ends_->push_back(static_cast<std::uint64_t>(end) << 2 | lineEndLength);
        lineEndBytes_ += lineEndLength;
    }
    // Every CR, LF or NUL of the text passes through here, in order. Returns
    // false at the first NUL, which ends the text and its line.
    bool atSpecialByte(std::size_t at, std::string_view available);

    std::vector<std::uint64_t>* ends_;
    std::uint64_t lineEndBytes_ = 0;                       // the line ends of the lines written
    std::size_t scanned_;                                  // bytes looked at so far
    std::size_t lineStart_;                                // where the line being read starts
    std::size_t pairedLf_ = static_cast<std::size_t>(-1);  // LF of a CR LF already counted
    bool ended_ = false;                                   // a NUL ended the text
};

bool LineCutter::atSpecialByte(std::size_t at, std::string_view available) {
    if (at == pairedLf_) return true;
    const char c = available[at];
    if (c == '\0') {
        if (lineStart_ < at) addLine(at, 0);
        ended_ = true;
        return false;
    }
    if (c == '\r' && at + 1 < available.size() && available[at + 1] == '\n') {
        addLine(at, 2);
        pairedLf_ = at + 1;
        lineStart_ = at + 2;
    } else {
        addLine(at, 1);
        lineStart_ = at + 1;
    }
    return true;
}

void LineCutter::cut(std::size_t limit, std::string_view available) {
    if (ended_) return;
    const char* const text = available.data();
    std::size_t at = scanned_;
#if defined(__SSE2__)
    // Sixteen bytes at a time: a mask of where CR, LF and NUL stand.
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i nul = _mm_setzero_si128();
    for (; at + 16 <= limit && !ended_; at += 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + at));
        auto mask = static_cast<unsigned>(_mm_movemask_epi8(
            _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(block, cr), _mm_cmpeq_epi8(block, lf)),
                         _mm_cmpeq_epi8(block, nul))));
        while (mask != 0) {
            if (!atSpecialByte(at + static_cast<std::size_t>(__builtin_ctz(mask)), available))
                break;
            mask &= mask - 1;
        }
    }
#endif
    for (; at < limit && !ended_; ++at) {
        const char c = text[at];
        if (c == '\r' || c == '\n' || c == '\0') atSpecialByte(at, available);
    }
    scanned_ = std::max(scanned_, limit);
}

void LineCutter::takeOver(const LineCutter& later, std::size_t from, std::string_view available) {
    if (ended_) return;
    const std::vector<std::uint64_t>& theirs = *later.ends_;
    const auto first =
        std::upper_bound(theirs.begin(), theirs.end(), from,
                         [](std::size_t at, std::uint64_t end) { return at < (end >> 2); });
    // No line end after byte from: the cutting of those bytes is left to
    // the next cut, as if later had never run.
    if (first == theirs.end()) return;
    cut((*first >> 2) + 1, available);
    if (ended_) return;
    ends_->insert(ends_->end(), first + 1, theirs.end());
    for (auto entry = first + 1; entry != theirs.end(); ++entry) lineEndBytes_ += *entry & 3;
    scanned_ = later.scanned_;
    lineStart_ = later.lineStart_;
    pairedLf_ = later.pairedLf_;
    ended_ = later.ended_;
}

// Makes present the pages of the index that the lines of bytes more text
// will likely take, within the room reserved.
void prepareIndex(std::vector<std::uint64_t>& ends, std::size_t bytes) {
    const std::size_t entries =
        std::min(ends.capacity(), ends.size() + bytes / kIndexBytesPerLine + 1);
    // Room the index already has, written or not: the pages stay its own.
    populatePages(ends.data() + ends.size(), ends.data() + entries);
}

// Reads bytes from to to of what is left of an open file (its byte offset
// base on) into the room reserved in buffer, a piece at a time, calling
// afterPiece(how far the bytes read reach) after each piece. Returns how far
// they reach: less than to when the file ended sooner.
template <typename AfterPiece>
std::size_t readRange(int fd, off_t base, ReadBuffer& buffer, std::size_t from, std::size_t to,
                      const std::string& path, AfterPiece afterPiece) {
    std::size_t at = from;
    while (at < to) {
        const ssize_t got =
            buffer.readAt(fd, base + static_cast<off_t>(at), at, std::min(to - at, kBufferPiece));
        if (got < 0) throw cannotOpenFile(path);
        if (got == 0) break;
        at += static_cast<std::size_t>(got);
        afterPiece(at);
    }
    return at;
}

// What the second thread reading a file works on: lines of its own, in
// cache lines of their own (were they to share one with what the first
// thread writes, the two would slow each other down at every line).
struct alignas(kCacheLine) LaterPart {
    explicit LaterPart(std::size_t split) : reach(split), cutter(ends, split) {}
    std::size_t reach;  // how far the bytes read reach
    std::vector<std::uint64_t> ends;
    LineCutter cutter;
};

// Where the second thread starts reading a file of expected bytes, 0 for
// one thread alone: a small file is read before a thread would start.
std::size_t readingSplit(std::size_t expected) {
    if (expected < kTwoThreadMinimum || std::thread::hardware_concurrency() < 2) return 0;
    return expected / 2 / kBufferPiece * kBufferPiece;
}

}  // namespace

MappedBytes::~MappedBytes() {
    if (data_ != nullptr) ::munmap(data_, length_);
}

void LogLines::assign(std::string bytes) {
    ends_.clear();
    bytes_ = LogBytes(std::move(bytes));
    const std::string_view text = bytes_.view();
    // Room for lines of 32 bytes on average; pages of the index that stay
    // unused are never touched, so this costs no memory, and spares the
    // copies of a growing index.
    ends_.reserve(text.size() / kIndexBytesPerLine + 1);
    LineCutter cutter(ends_);
    cutter.cut(text.size(), text);
    cutter.finish(text.size());
    lineEndBytes_ = cutter.lineEndBytes();
}

void LogLines::assignFrom(int fd, const std::string& path) {
    assignFrom(fd, path, readingSplit(expectedSize(fd)));
}

void LogLines::assignFrom(int fd, const std::string& path, std::size_t split) {
    clear();
    const std::size_t expected = expectedSize(fd);
    // Two threads read with positioned reads, from where fd stands on.
    const off_t base = split > 0 && split < expected ? ::lseek(fd, 0, SEEK_CUR) : -1;
    if (base < 0) split = 0;
    ends_.reserve(expected / kIndexBytesPerLine + 1);
    alignas(kCacheLine) LineCutter cutter(ends_);
    ReadBuffer buffer;
    const auto bytesRead = [&buffer](std::size_t reach) {
        return std::string_view(buffer.data(), reach);
    };
    try {
        if (split > 0) {
            buffer.reserve(expected + 1);
            // The second thread reads and cuts the bytes from split on into
            // an index of its own while this one does those before.
            LaterPart later(split);
            std::size_t reach = 0;
            runSideBySide(
                [&] {
                    later.ends.reserve((expected - split) / kIndexBytesPerLine + 1);
                    later.reach =
                        readRange(fd, base, buffer, split, expected, path, [&](std::size_t at) {
                            prepareIndex(later.ends, kBufferPiece);
                            later.cutter.cut(at - 1, bytesRead(at));
                        });
                },
                [&] {
                    // The last byte read waits for the next piece: a CR there
                    // may be the first half of a CR LF pair.
                    reach = readRange(fd, base, buffer, 0, split, path, [&](std::size_t at) {
                        prepareIndex(ends_, kBufferPiece);
                        cutter.cut(at - 1, bytesRead(at));
                    });
                });
            // The bytes from split on join those before when these came whole
            // (the file may have shrunk meanwhile).
            if (reach == split) {
                cutter.takeOver(later.cutter, split, bytesRead(later.reach));
                reach = later.reach;
            }
            buffer.setSize(reach);
            // Whatever the file gained meanwhile is read on from there.
            if (::lseek(fd, base + static_cast<off_t>(reach), SEEK_SET) < 0)
                throw cannotOpenFile(path);
        }
        for (;;) {
            const ssize_t got = buffer.readPiece(fd, expected);
            if (got == 0) break;
            if (got < 0) throw cannotOpenFile(path);
            prepareIndex(ends_, static_cast<std::size_t>(got));
            cutter.cut(buffer.size() - 1, bytesRead(buffer.size()));
        }
        bytes_ = LogBytes(buffer.finish());
    } catch (...) {
        clear();
        throw;
    }
    const std::string_view all = bytes_.view();
    cutter.cut(all.size(), all);
    cutter.finish(all.size());
    lineEndBytes_ = cutter.lineEndBytes();
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
