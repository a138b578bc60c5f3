// The bytes a log's lines are cut from, held apart from the line index.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

namespace kestal {

// Bytes in anonymous memory mapped for them alone: a private copy that no
// later change to the file they came from can reach (unlike a mapping of the
// file itself). Unmapped when destroyed.
//
// A big log starts out as a mapping of the file's own pages (ofLeasedFile):
// read without a copy, under a read lease that holds back whoever opens the
// file to write or cut it short. A thread then copies the pages into memory
// of the log's own at the same addresses and lets the lease go, while the
// window shows the calls; the bytes never change under the lines cut from
// them.
class MappedBytes {
public:
    MappedBytes() = default;
    // Takes over a mapping of length bytes at mapping, size of them read.
    MappedBytes(char* mapping, std::size_t length, std::size_t size) noexcept
        : data_(mapping), length_(length), size_(size) {}
    // Takes over a private mapping of a file held under a read lease by
    // leaseFd (see takeReadLease in FileSystem.h), size bytes of it the
    // file's, and starts copying them.
    static MappedBytes ofLeasedFile(char* mapping, std::size_t length, std::size_t size,
                                    int leaseFd);
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
    // Waits until the bytes are a copy of the program's own, and whether
    // they are (false: no memory for the copy; the lease is held on).
    bool settle();

private:
    struct Copying;
    // Defined where Copying is whole.
    struct EndCopying {
        void operator()(Copying* copying) const;
    };

    void swap(MappedBytes& other) noexcept {
        std::swap(data_, other.data_);
        std::swap(length_, other.length_);
        std::swap(size_, other.size_);
        std::swap(copying_, other.copying_);
    }

    char* data_ = nullptr;
    std::size_t length_ = 0;
    std::size_t size_ = 0;
    std::unique_ptr<Copying, EndCopying> copying_;
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
    // See MappedBytes::settle.
    bool settle() { return mapped_.settle(); }

private:
    std::string given_;
    MappedBytes mapped_;
    std::string_view view_;
};

}  // namespace kestal
