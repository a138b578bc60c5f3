// Lines added to a shown log as its file grows: only the new bytes are cut,
// by the same rules as the whole text.
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <new>

#include "log/LogLines.h"

namespace kestal {

namespace {

std::size_t pageSize() {
    static const auto page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    return page;
}

// A growing log is appended to a piece at a time: room for a good deal more
// each time the mapping grows keeps the moves of its pages rare. Pages never
// written cost nothing.
constexpr std::size_t kGrowthStep = std::size_t{64} << 20;

}  // namespace

void MappedBytes::append(std::string_view more) {
    if (more.empty()) return;
    const std::size_t needed = size_ + more.size();
    if (needed > length_) {
        const std::size_t wanted = std::max(needed + kGrowthStep, length_ + length_ / 8);
        const std::size_t length = (wanted + pageSize() - 1) / pageSize() * pageSize();
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

bool LogLines::endsAtNul() const {
    if (ends_.empty()) return byteCount() > 0;  // empty text, or a NUL first
    const std::uint64_t last = ends_.back();
    return (last >> 2) + (last & 3) < byteCount();
}

std::size_t LogLines::append(std::string_view more) {
    if (endsAtNul()) {
        bytes_.append(more);
        return size();
    }
    // A line that no line end closed, or one closed by a CR that the new
    // bytes may pair with a LF, is cut again with them.
    std::size_t from = 0;
    if (!ends_.empty()) {
        const std::uint64_t last = ends_.back();
        const std::uint64_t lineEnd = last & 3;
        const bool open = lineEnd == 0 || (lineEnd == 1 && bytes_.view()[last >> 2] == '\r');
        from = static_cast<std::size_t>((last >> 2) + lineEnd);
        if (open) {
            ends_.pop_back();
            lineEndBytes_ -= lineEnd;
            from = ends_.empty() ? 0 : static_cast<std::size_t>(nextStart(ends_.back()));
        }
    }
    const std::size_t firstChanged = size();
    bytes_.append(more);
    const std::string_view text = bytes_.view();
    std::size_t lineStart = from;
    for (std::size_t at = from; at < text.size(); ++at) {
        const char c = text[at];
        if (c != '\r' && c != '\n' && c != '\0') continue;
        if (c == '\0') {
            if (lineStart < at) ends_.push_back(static_cast<std::uint64_t>(at) << 2);
            return firstChanged;
        }
        const std::uint64_t lineEnd =
            c == '\r' && at + 1 < text.size() && text[at + 1] == '\n' ? 2 : 1;
        ends_.push_back(static_cast<std::uint64_t>(at) << 2 | lineEnd);
        lineEndBytes_ += lineEnd;
        at += lineEnd - 1;
        lineStart = at + 1;
    }
    if (lineStart < text.size()) ends_.push_back(static_cast<std::uint64_t>(text.size()) << 2);
    return firstChanged;
}

}  // namespace kestal
