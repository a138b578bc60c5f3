// The line index of a log: one entry per line, where it ends (see LogLines),
// kept in four bytes a line instead of eight.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kestal {

// A rising sequence of 64-bit numbers, each kept as its low 32 bits. The
// numbers rise, so their high bits never fall: the index of every number
// where they change is noted apart with them (a handful for a log of several
// gigabytes, none below one gigabyte).
class LineEnds {
public:
    // lowBits below 32 let a test reach the steps with a small text.
    explicit LineEnds(unsigned lowBits = 32) : lowBits_(lowBits) {}

    unsigned lowBits() const { return lowBits_; }
    std::size_t size() const { return low_.size(); }
    bool empty() const { return low_.empty(); }
    std::size_t capacity() const { return low_.capacity(); }
    void reserve(std::size_t count) { low_.reserve(count); }

    std::uint64_t operator[](std::size_t index) const {
        const std::uint64_t low = low_[index];
        if (index < firstStep_) [[likely]]
            return low;
        return low | highAt(index) << lowBits_;
    }
    std::uint64_t back() const { return (*this)[size() - 1]; }

    // Adds a number no smaller than the last one.
    void push_back(std::uint64_t value) {
        const std::uint64_t high = value >> lowBits_;
        if (high != high_) [[unlikely]]
            noteStep(high);
        low_.push_back(static_cast<std::uint32_t>(value & lowMask()));
    }
    void pop_back();
    // Adds numbers first to last - 1 of other (which keeps as many low bits),
    // no smaller than the last one here, then gives back the pages that held
    // them in other.
    void moveFrom(LineEnds& other, std::size_t first, std::size_t last);

    void clear();
    // clear, and the room reserved goes back too.
    void release();

    // Where the low bits of the entries lie (for making their pages present).
    std::uint32_t* lowData() { return low_.data(); }

private:
    std::uint64_t lowMask() const { return (std::uint64_t{1} << lowBits_) - 1; }
    // The high bits at index, at or past the first step: the steps are
    // few, and most asked for past the last one.
    std::uint64_t highAt(std::size_t index) const {
        std::size_t step = steps_.size();
        while (steps_[step - 1].index > index) --step;
        return steps_[step - 1].high;
    }
    void noteStep(std::uint64_t high);

    unsigned lowBits_;
    std::vector<std::uint32_t> low_;
    // Where the high bits change: from line index on they are high.
    struct Step {
        std::size_t index;
        std::uint64_t high;
    };
    std::vector<Step> steps_;
    static constexpr std::size_t kNoStep = static_cast<std::size_t>(-1);
    std::size_t firstStep_ = kNoStep;  // steps_'s first index
    std::uint64_t high_ = 0;           // the high bits of the last number added
};

}  // namespace kestal
