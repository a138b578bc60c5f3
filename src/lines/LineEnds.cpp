#include "lines/LineEnds.h"

#include <algorithm>
#include <array>

#include "platform/Pages.h"

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
        std::size_t i = first;
        // Up to a group's border one by one, then a group at a time.
        for (; i < to && near_.size() % kGroup != 0; ++i) push_back(other[i]);
        for (; to - i >= kGroup; i += kGroup) pushGroup(other, i);
        for (; i < to; ++i) push_back(other[i]);
        releasePages(other.near_.data() + first, other.near_.data() + to);
        first = to;
    }
}

void LineEnds::pushGroup(const LineEnds& other, std::size_t first) {
    // Most often the 64 entries lie in two groups of distances (one when
    // first starts a group) with the same line end: the new distances are
    // theirs less the first one's, those of the second group raised by how
    // far apart the two groups start.
    const std::size_t offset = first % kGroup;
    const std::uint64_t group = other.groups_[first / kGroup];
    const std::uint64_t next = offset == 0 ? group : other.groups_[first / kGroup + 1];
    if (!((group | next) & kWhole) && ((group ^ next) & 3) == 0) [[likely]] {
        const std::uint16_t* const near = other.near_.data() + first;
        const std::uint64_t apart = (next - group) >> 2;
        const std::uint16_t base = near[0];
        const std::uint64_t last = apart + near[kGroup - 1] - base;
        if (last <= nearMax()) {
            // Exact in 16 bits: every distance lies between 0 and last.
            std::array<std::uint16_t, kGroup> distances;
            for (std::size_t k = 0; k < kGroup; ++k)
                distances[k] = static_cast<std::uint16_t>(near[k] - base);
            const auto raise = static_cast<std::uint16_t>(apart);
            for (std::size_t k = kGroup - offset; k < kGroup; ++k)
                distances[k] = static_cast<std::uint16_t>(distances[k] + raise);
            groups_.push_back(group + (std::uint64_t{base} << 2));
            near_.insert(near_.end(), distances.begin(), distances.end());
            return;
        }
    }
    std::array<std::uint64_t, kGroup> entries;
    for (std::size_t k = 0; k < kGroup; ++k) entries[k] = other[first + k];
    // As push_back would hold them: distances when every line end is as long
    // as the first and the last entry is near enough, whole otherwise.
    const std::uint64_t head = entries[0];
    std::uint64_t lineEnds = 0;
    for (const std::uint64_t entry : entries) lineEnds |= (entry ^ head) & 3;
    if (lineEnds != 0 || (entries[kGroup - 1] - head) >> 2 > nearMax()) {
        for (const std::uint64_t entry : entries) push_back(entry);
        return;
    }
    std::array<std::uint16_t, kGroup> distances;
    for (std::size_t k = 0; k < kGroup; ++k)
        distances[k] = static_cast<std::uint16_t>((entries[k] - head) >> 2);
    groups_.push_back(head);
    near_.insert(near_.end(), distances.begin(), distances.end());
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
