// The bytes a log's lines are cut from, held apart from the line index.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>

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

}  // namespace kestal
