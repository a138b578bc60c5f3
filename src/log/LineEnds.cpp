#include "log/LineEnds.h"

#include <algorithm>

#include "log/Pages.h"

namespace kestal {

void LineEnds::addWhole(std::uint64_t entry) {
    if (!(groups_.back() & kWhole)) {
        const std::size_t first = near_.size() - near_.size() % kGroup;
        const std::uint64_t start = whole_.size();
        for (std::size_t i = first; i < near_.size(); ++i) whole_.push_back((*this)[i]);
        groups_.back() = kWhole | start;
    }
    whole_.push_back(entry);
    near_.push_back(0);
}

void LineEnds::pop_back() {
    if (groups_.back() & kWhole) whole_.pop_back();
    near_.pop_back();
    if (near_.size() % kGroup == 0) groups_.pop_back();
}

void LineEnds::moveFrom(LineEnds& other, std::size_t first, std::size_t last) {
    // A piece at a time, each piece's pages given back once copied: the two
    // copies of these numbers never stand in memory whole at once.
    constexpr std::size_t kPiece = std::size_t{1} << 18;
    while (first < last) {
        const std::size_t to = std::min(last, first + kPiece);
        prepare(to - first);
        for (std::size_t i = first; i < to; ++i) push_back(other[i]);
        releasePages(other.near_.data() + first, other.near_.data() + to);
        first = to;
    }
}

void LineEnds::clear() {
    groups_.clear();
    near_.clear();
    whole_.clear();
}

void LineEnds::release() {
    clear();
    groups_.shrink_to_fit();
    near_.shrink_to_fit();
    whole_.shrink_to_fit();
}

void LineEnds::prepare(std::size_t count) {
    const std::size_t end = std::min(near_.capacity(), near_.size() + count);
    // Room the index already has, written or not: the pages stay its own.
    populatePages(near_.data() + near_.size(), near_.data() + end);
}

}  // namespace kestal
