// The buffer a file's bytes are read into, a piece at a time, before they
// become a log's LogBytes.
#pragma once

#include <sys/types.h>

#include <algorithm>
#include <cstddef>
#include <new>
#include <optional>
#include <utility>

#include "bytes/LogBytes.h"
#include "platform/FileSystem.h"
#include "platform/Pages.h"

namespace kestal {

// Pieces read into a ReadBuffer: small enough that the lines are cut while
// the piece is still in the processor's cache (faster than 1 MiB pieces).
inline constexpr std::size_t kBufferPiece = std::size_t{256} << 10;

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
        if (mapping_ != nullptr) unmapPages(mapping_, length_);
        if (leaseFd_ >= 0) dropReadLease(leaseFd_);
    }

    // Maps the open file fd from byte base on, size bytes (the rest of the
    // file), instead of reading it, when a read lease can be had on it and
    // its size is still size: the reads after that only make its pages
    // present, and the bytes become the program's own after finish (see
    // MappedBytes::ofLeasedFile). False when it can't: nothing changed.
    bool mapLeased(int fd, off_t base, std::size_t size) {
        if (mapping_ != nullptr || size == 0 || base < 0 ||
            static_cast<std::size_t>(base) % pageSize() != 0)
            return false;
        const int leaseFd = takeReadLease(fd);
        if (leaseFd < 0) return false;
        // Under the lease the file can't change any more.
        const std::optional<FileStatus> status = fileStatus(leaseFd);
        const std::size_t length = roundUpToPages(size);
        char* const mapping =
            status && status->regular &&
                    static_cast<std::size_t>(status->size) == static_cast<std::size_t>(base) + size
                ? mapFileForReading(leaseFd, base, length)
                : nullptr;
        if (mapping == nullptr) {
            dropReadLease(leaseFd);
            return false;
        }
        mapping_ = mapping;
        length_ = length;
        leaseFd_ = leaseFd;
        leasedSize_ = size;
        return true;
    }

    // Reads up to a piece more from fd (the buffer grown to hold it first)
    // and returns how many bytes came, 0 at the end of the file, -1 with
    // errno when the read failed.
    ssize_t readPiece(int fd, std::size_t expected) {
        if (leaseFd_ >= 0) {
            const ssize_t got = readAt(fd, 0, used_, kBufferPiece);
            used_ += static_cast<std::size_t>(got);
            return got;
        }
        // The room grows only once it is full: the read that finds the end
        // of a file read whole (into room for one byte more) moves nothing.
        if (used_ == length_) reserve(std::max(used_ + kBufferPiece, expected + 1));
        const ssize_t got = readAt(fd, -1, used_, std::min(length_ - used_, kBufferPiece));
        if (got > 0) used_ += static_cast<std::size_t>(got);
        return got;
    }

    // Reads up to count bytes from fd into the room reserved at byte at,
    // from the file's byte offset on (-1: from where fd stands), and
    // returns how many came, as readPiece. Leaves size() as it is: several
    // threads may read into parts of the room that don't overlap.
    ssize_t readAt(int fd, off_t offset, std::size_t at, std::size_t count) {
        if (leaseFd_ >= 0) {
            // The file's pages, which no one can change meanwhile.
            count = at < leasedSize_ ? std::min(count, leasedSize_ - at) : 0;
            populatePagesForReading(mapping_ + at, mapping_ + at + count);
            return static_cast<ssize_t>(count);
        }
        populatePages(mapping_ + at, mapping_ + at + count);
        return readSome(fd, mapping_ + at, count, offset);
    }

    // Room for at least bytes.
    void reserve(std::size_t bytes) {
        if (bytes <= length_ || leaseFd_ >= 0) return;
        const std::size_t length = roundUpToPages(std::max(bytes, length_ * 2));
        char* const mapping =
            mapping_ == nullptr ? mapPages(length) : growPages(mapping_, length_, length);
        if (mapping == nullptr) throw std::bad_alloc();
        mapping_ = mapping;
        length_ = length;
    }

    // The first bytes read into the room count as read; what stands after
    // them is read again.
    void setSize(std::size_t used) { used_ = used; }

    const char* data() const { return mapping_; }
    std::size_t size() const { return used_; }

    // The bytes read, kept for good; pages never used go back.
    MappedBytes finish() {
        if (leaseFd_ >= 0) {
            char* const mapping = std::exchange(mapping_, nullptr);
            return MappedBytes::ofLeasedFile(mapping, std::exchange(length_, 0), used_,
                                             std::exchange(leaseFd_, -1));
        }
        const std::size_t kept = roundUpToPages(used_);
        if (kept < length_) unmapPages(mapping_ + kept, length_ - kept);
        MappedBytes bytes(kept > 0 ? mapping_ : nullptr, kept, used_);
        mapping_ = nullptr;
        length_ = 0;
        return bytes;
    }

private:
    char* mapping_ = nullptr;
    std::size_t length_ = 0;
    std::size_t used_ = 0;
    int leaseFd_ = -1;  // a mapped file's lease (mapLeased)
    std::size_t leasedSize_ = 0;
};

}  // namespace kestal
