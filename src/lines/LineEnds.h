// The line index of a log: one entry per line, where it ends (see LogLines),
// kept in a little over two bytes a line instead of eight.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kestal {

// The index's entries (where a line ends, shifted left by 2, plus the length
// of its line end), kept in groups of 64 lines. A group holds its first
// entry whole and, for each of its lines, how many bytes past the first
// line's end that line ends, in two bytes; its lines' line ends are as long
// as the first one's. A group whose lines end further apart (lines of some
// 1 KiB on average) or whose line ends differ holds its entries whole.
class LineEnds {
public:
    // narrowBits below 16 let a test reach the groups held whole with a
    // small text.
    explicit LineEnds(unsigned narrowBits = 16) : narrowBits_(narrowBits < 16 ? narrowBits : 16) {}

    unsigned narrowBits() const { return narrowBits_; }
    std::size_t size() const { return near_.size(); }
    bool empty() const { return near_.empty(); }
    std::size_t capacity() const { return near_.capacity(); }
    void reserve(std::size_t count) {
        near_.reserve(count);
        groups_.reserve(count / kGroup + 1);
    }

    std::uint64_t operator[](std::size_t index) const {
        const std::uint64_t group = groups_[index / kGroup];
        if (!(group & kWhole)) [[likely]]
            return group + (std::uint64_t{near_[index]} << 2);
        return whole_[(group & ~kWhole) + index % kGroup];
    }
    std::uint64_t back() const { return (*this)[size() - 1]; }

    // Adds an entry no smaller than the last one.
    void push_back(std::uint64_t entry) {
        if (near_.size() % kGroup == 0) {
            groups_.push_back(entry);
            near_.push_back(0);
            return;
        }
        // Past the group's first entry by a multiple of 4: the same line end.
        const std::uint64_t past = entry - groups_.back();
        if (!(groups_.back() & kWhole) && (past & 3) == 0 && past >> 2 <= nearMax()) [[likely]] {
            near_.push_back(static_cast<std::uint16_t>(past >> 2));
            return;
        }
        addWhole(entry);
    }
    void pop_back();
    // The same entries held the same way (groups of distances, groups whole).
    bool operator==(const LineEnds& other) const = default;
    // Adds entries first to last - 1 of other, no smaller than the last one
    // here, then gives back the pages that held them in other.
    void moveFrom(LineEnds& other, std::size_t first, std::size_t last);

    void clear();
    // clear, and the room reserved goes back too.
    void release();

    // Makes the pages for the next count entries present at once, as far
    // as the room reserved goes.
    void prepare(std::size_t count);

private:
    static constexpr std::size_t kGroup = 64;
    // A group's number: its first entry; or kWhole and where its entries
    // start in whole_ (an entry is below 2^63).
    static constexpr std::uint64_t kWhole = std::uint64_t{1} << 63;

    std::uint64_t nearMax() const { return (std::uint64_t{1} << narrowBits_) - 1; }
    // Adds entries first to first + kGroup - 1 of other as a group of their
    // own (the index ends at a group's border).
    void pushGroup(const LineEnds& other, std::size_t first);
    // Adds entry to the last group, holding that group whole from now on.
    void addWhole(std::uint64_t entry);

    unsigned narrowBits_;
    std::vector<std::uint64_t> groups_;  // one number a group, see kWhole
    std::vector<std::uint16_t> near_;    // how far past its group's first each line ends
    std::vector<std::uint64_t> whole_;   // the entries of the groups held whole
};

}  // namespace kestal
