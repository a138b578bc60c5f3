// A log's bytes in memory of its own, and the copy that takes a leased
// file's pages over.
#include "bytes/LogBytes.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <stop_token>
#include <system_error>
#include <thread>

#include "platform/FileSystem.h"
#include "platform/Pages.h"

namespace kestal {

namespace {

// A growing log is appended to a piece at a time: room for a good deal more
// each time the mapping grows keeps the moves of its pages rare. Pages never
// written cost nothing.
constexpr std::size_t kGrowthStep = std::size_t{64} << 20;

// Copied a piece at a time, each piece of the file's pages let go once
// copied: the log stands in memory once, not twice.
constexpr std::size_t kCopyPiece = std::size_t{512} << 10;

// Copies the file's pages at base into memory of their own and puts that
// in their place, unless stopped first. Whether it did.
bool copyPrivately(const std::stop_token& stop, char* base, std::size_t length) {
    char* const copy = mapPages(length);
    if (copy == nullptr) return false;
    for (std::size_t at = 0; at < length; at += kCopyPiece) {
        if (stop.stop_requested()) {
            unmapPages(copy, length);
            return false;
        }
        const std::size_t piece = std::min(kCopyPiece, length - at);
        populatePages(copy + at, copy + at + piece);
        std::memcpy(copy + at, base + at, piece);
        // Read again, they would come from the file as they were: the lease
        // holds.
        releasePages(base + at, base + at + piece);
    }
    // In one step: a thread reading the bytes meanwhile finds them either
    // way.
    if (!movePages(copy, length, base)) {
        unmapPages(copy, length);
        return false;
    }
    return true;
}

}  // namespace

// The thread copying a leased file's pages, and the lease.
struct MappedBytes::Copying {
    explicit Copying(int leaseFd) : leaseFd(leaseFd) {}
    Copying(const Copying&) = delete;
    Copying& operator=(const Copying&) = delete;
    ~Copying() {
        // Stopped and joined before the lease goes with its descriptor.
        worker.request_stop();
        if (worker.joinable()) worker.join();
        dropReadLease(leaseFd);
    }

    void copy(const std::stop_token& stop, char* base, std::size_t length) {
        copied = copyPrivately(stop, base, length);
        if (copied) endReadLease(leaseFd);
    }

    const int leaseFd;
    bool copied = false;  // read once the worker is joined
    std::jthread worker;
};

void MappedBytes::EndCopying::operator()(Copying* copying) const { delete copying; }

MappedBytes MappedBytes::ofLeasedFile(char* mapping, std::size_t length, std::size_t size,
                                      int leaseFd) {
    MappedBytes bytes(mapping, length, size);
    try {
        bytes.copying_.reset(new Copying(leaseFd));
    } catch (...) {
        dropReadLease(leaseFd);
        throw;
    }
    Copying& copying = *bytes.copying_;
    try {
        copying.worker = std::jthread([&copying, mapping, length](const std::stop_token& stop) {
            copying.copy(stop, mapping, length);
        });
    } catch (const std::system_error&) {
        // No thread to be had: copied now.
        copying.copy(std::stop_token(), mapping, length);
    }
    return bytes;
}

MappedBytes::~MappedBytes() {
    copying_.reset();
    if (data_ != nullptr) unmapPages(data_, length_);
}

bool MappedBytes::settle() {
    if (copying_ == nullptr) return true;
    if (copying_->worker.joinable()) copying_->worker.join();
    if (!copying_->copied) return false;
    copying_.reset();
    return true;
}

void MappedBytes::append(std::string_view more) {
    if (more.empty()) return;
    // The file's own pages can't grow.
    if (!settle()) throw std::bad_alloc();
    const std::size_t needed = size_ + more.size();
    if (needed > length_) {
        const std::size_t wanted = std::max(needed + kGrowthStep, length_ + length_ / 8);
        const std::size_t length = roundUpToPages(wanted);
        char* const mapping =
            data_ == nullptr ? mapPages(length) : growPages(data_, length_, length);
        if (mapping == nullptr) throw std::bad_alloc();
        data_ = mapping;
        length_ = length;
    }
    std::memcpy(data_ + size_, more.data(), more.size());
    size_ = needed;
}

void LogBytes::append(std::string_view more) {
    if (mapped_.data() == nullptr) {
        // Bytes given as a string move into a mapping of their own first.
        MappedBytes mapped;
        mapped.append(given_);
        given_.clear();
        mapped_ = std::move(mapped);
    }
    mapped_.append(more);
    view_ = std::string_view(mapped_.data(), mapped_.size());
}

}  // namespace kestal
