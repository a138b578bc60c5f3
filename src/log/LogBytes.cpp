#include "log/LogBytes.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstring>
#include <new>

#include "log/Pages.h"

namespace kestal {

namespace {

// A growing log is appended to a piece at a time: room for a good deal more
// each time the mapping grows keeps the moves of its pages rare. Pages never
// written cost nothing.
constexpr std::size_t kGrowthStep = std::size_t{64} << 20;

}  // namespace

MappedBytes::~MappedBytes() {
    if (data_ != nullptr) ::munmap(data_, length_);
}

void MappedBytes::append(std::string_view more) {
    if (more.empty()) return;
    const std::size_t needed = size_ + more.size();
    if (needed > length_) {
        const std::size_t wanted = std::max(needed + kGrowthStep, length_ + length_ / 8);
        const std::size_t length = roundUpToPages(wanted);
        void* mapping = data_ == nullptr ? ::mmap(nullptr, length, PROT_READ | PROT_WRITE,
                                                  MAP_PRIVATE | MAP_ANONYMOUS, -1, 0)
                                         : ::mremap(data_, length_, length, MREMAP_MAYMOVE);
        if (mapping == MAP_FAILED) throw std::bad_alloc();
        data_ = static_cast<char*>(mapping);
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
