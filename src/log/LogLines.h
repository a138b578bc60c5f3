// The lines of the log file being shown. The file's bytes are kept in one
// buffer and the lines are an index of spans into it, so a gigabyte log costs
// little more than its own size.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kestal {

// Bytes in anonymous memory mapped for them alone: a private copy that no
// later change to the file they came from can reach (unlike a mapping of the
// file itself). Unmapped when destroyed.
class MappedBytes {
public:
    MappedBytes() = default;
    // Takes over a mapping of length bytes at mapping, size of them read.
    MappedBytes(char* mapping, std::size_t length, std::size_t size) noexcept
        : data_(mapping), length_(length), size_(size) {}
    MappedBytes(MappedBytes&& other) noexcept { swap(other); }
    MappedBytes& operator=(MappedBytes&& other) noexcept {
        MappedBytes(std::move(other)).swap(*this);
        return *this;
    }
    MappedBytes(const MappedBytes&) = delete;
    MappedBytes& operator=(const MappedBytes&) = delete;
    ~MappedBytes();

    const char* data() const { return data_; }
    std::size_t size() const { return size_; }
    // Adds bytes after the last one; the mapping grows in place or moves
    // its pages, never copies them. Throws std::bad_alloc.
    void append(std::string_view more);

private:
    void swap(MappedBytes& other) noexcept {
        std::swap(data_, other.data_);
        std::swap(length_, other.length_);
        std::swap(size_, other.size_);
    }

    char* data_ = nullptr;
    std::size_t length_ = 0;
    std::size_t size_ = 0;
};

// The bytes lines are cut from: given as a string, or read into
// MappedBytes. view() stays right however the store is moved (a short
// string's bytes move with it), so that a line costs no more than one
// addition to find.
class LogBytes {
public:
    LogBytes() = default;
    explicit LogBytes(std::string given) : given_(std::move(given)), view_(given_) {}
    explicit LogBytes(MappedBytes mapped)
        : mapped_(std::move(mapped)), view_(mapped_.data(), mapped_.size()) {}
    LogBytes(LogBytes&& other) noexcept { *this = std::move(other); }
    LogBytes& operator=(LogBytes&& other) noexcept {
        if (this == &other) return *this;
        given_ = std::move(other.given_);
        mapped_ = std::move(other.mapped_);
        view_ = mapped_.data() != nullptr ? std::string_view(mapped_.data(), mapped_.size())
                                          : std::string_view(given_);
        other.given_.clear();
        other.view_ = {};
        return *this;
    }
    LogBytes(const LogBytes&) = delete;
    LogBytes& operator=(const LogBytes&) = delete;

    std::string_view view() const { return view_; }
    // Adds bytes after the last one, keeping those there.
    void append(std::string_view more);

private:
    std::string given_;
    MappedBytes mapped_;
    std::string_view view_;
};

class LogLines {
public:
    LogLines() = default;

    // Takes a file's bytes and cuts them into lines:
    // - a line ends at CR, at LF, or at the pair CR LF (one line end); LF CR
    //   is two line ends with an empty line between them;
    // - the first NUL byte ends the text, and the line it stands in;
    // - a line end at the very end adds no empty line after it;
    // - empty text, or text starting with NUL, gives no lines.
    void assign(std::string bytes);
    static LogLines fromBytes(std::string bytes);
    // The same for the rest of an open file, read to its end: the lines are
    // cut while the bytes just read are still in the cache. The bytes are
    // kept in MappedBytes. A big regular file is read and cut by two threads
    // at once, one from its start and one from its middle. Throws
    // CommandError "Cannot open file %s" (path) when the file can't be read;
    // the lines are then empty.
    void assignFrom(int fd, const std::string& path);
    // The same, with the second thread starting split bytes into what is
    // left of the file (0: one thread reads it all). The lines come out the
    // same wherever the split falls.
    void assignFrom(int fd, const std::string& path, std::size_t split);

    void clear();
    std::size_t size() const { return ends_.size(); }
    // How many bytes the lines were cut from, a NUL and what follows it
    // included: all that was read of the file.
    std::uint64_t byteCount() const { return bytes_.view().size(); }
    bool empty() const { return ends_.empty(); }
    std::string_view operator[](std::size_t index) const {
        const std::uint64_t start = index == 0 ? 0 : nextStart(ends_[index - 1]);
        return {bytes_.view().data() + start,
                static_cast<std::size_t>((ends_[index] >> 2) - start)};
    }

    // Sum over all lines of length + 2: the size the file would have with
    // every line, the last included, ended by CR LF.
    std::uint64_t joinedLength() const;

    // All the bytes the lines were cut from.
    std::string_view bytes() const { return bytes_.view(); }
    // True when a NUL byte ended the text before its last byte.
    bool endsAtNul() const;
    // Adds bytes that followed the text, as if they had been there when it
    // was cut: a last line without a line end (or ended by a CR that a LF
    // may yet follow) goes on. Text that a NUL ended takes no more lines.
    // Returns the index of the first line that changed or was added.
    std::size_t append(std::string_view more);

private:
    // The lines lie back to back in bytes_, each followed by its line end
    // (none after the last line, 1 or 2 bytes otherwise). Each line is
    // indexed by one number: where it ends, shifted left by 2, plus the
    // length of its line end. The next line starts right after that line end.
    static std::uint64_t nextStart(std::uint64_t end) { return (end >> 2) + (end & 3); }

    LogBytes bytes_;
    std::vector<std::uint64_t> ends_;
    std::uint64_t lineEndBytes_ = 0;  // the line ends of all lines together
};

// The whole content of a file, read to its end (also when it grows while
// being read). Throws CommandError "Cannot open file %s" when the file can't
// be opened or read.
std::string readFileBytes(const std::string& path);

// The rest of an open file, read from its current position to its end (the
// same rules as readFileBytes); path only names the file in the failure.
std::string readDescriptorBytes(int fd, const std::string& path);

// Told, while a file is read, how many bytes have come in so far and how
// many were left in it when the reading began (0 when that isn't known).
using ReadProgress = std::function<void(std::uint64_t done, std::uint64_t expected)>;

// The same, telling progress after every piece read (pieces of a few
// megabytes, so that a big file reports often).
std::string readDescriptorBytes(int fd, const std::string& path, const ReadProgress& progress);

// Reads a whole file into lines (readFileBytes, then assign).
void readLogFile(const std::string& path, LogLines& lines);

// The bytes with every NUL byte left out, the rest in order.
std::string withoutNulBytes(std::string_view bytes);

}  // namespace kestal
