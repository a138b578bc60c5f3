#include "log/LineEnds.h"

#include <algorithm>

#include "log/Pages.h"

namespace kestal {

void LineEnds::noteStep(std::uint64_t high) {
    if (steps_.empty()) firstStep_ = low_.size();
    steps_.push_back({low_.size(), high});
    high_ = high;
}

void LineEnds::pop_back() {
    low_.pop_back();
    while (!steps_.empty() && steps_.back().index >= low_.size()) steps_.pop_back();
    high_ = steps_.empty() ? 0 : steps_.back().high;
    if (steps_.empty()) firstStep_ = kNoStep;
}

void LineEnds::moveFrom(LineEnds& other, std::size_t first, std::size_t last) {
    // A piece at a time, each piece's pages given back once copied: the two
    // copies of these numbers never stand in memory whole at once. The low
    // bits are copied as they are, a piece ending at other's next step.
    constexpr std::size_t kPiece = std::size_t{1} << 18;
    while (first < last) {
        std::size_t to = std::min(last, first + kPiece);
        for (const Step& step : other.steps_)
            if (step.index > first && step.index < to) to = step.index;
        const std::uint64_t high = first < other.firstStep_ ? 0 : other.highAt(first);
        if (high != high_) noteStep(high);
        if (low_.capacity() >= low_.size() + (to - first))
            populatePages(low_.data() + low_.size(), low_.data() + low_.size() + (to - first));
        low_.insert(low_.end(), other.low_.begin() + static_cast<std::ptrdiff_t>(first),
                    other.low_.begin() + static_cast<std::ptrdiff_t>(to));
        releasePages(other.low_.data() + first, other.low_.data() + to);
        first = to;
    }
}

void LineEnds::clear() {
    low_.clear();
    steps_.clear();
    firstStep_ = kNoStep;
    high_ = 0;
}

void LineEnds::release() {
    clear();
    low_.shrink_to_fit();
    steps_.shrink_to_fit();
}

}  // namespace kestal
