#include "calls/CallWalker.h"

namespace kestal {

void CallWalker::end(std::string_view last, std::uint64_t index) {
    if (inCall_) finishCall(last, false, index);
}

void CallWalker::stopAt(std::string_view opening, std::uint64_t index) {
    if (inCall_) finishCall(opening, true, index);
}

void CallWalker::holdCallAtHand() {
    if (!inCall_) return;
    start_.assign(summary_.startText);
    summary_.startText = start_.view();
    for (std::size_t c = 0; c < kCounterColumns; ++c) {
        counters_[c].assign(summary_.counters[c]);
        summary_.counters[c] = counters_[c].view();
    }
    for (std::size_t l = 0; l < kLayerColumns; ++l) {
        layerTimes_[l].assign(summary_.layerTimes[l]);
        summary_.layerTimes[l] = layerTimes_[l].view();
    }
}

// The end text is taken from a line that stays valid until the row is built,
// so it needs no copy.
void CallWalker::finishCall(std::string_view line, bool cutShort, std::uint64_t index) {
    summary_.endText = positions(line, 1, kCallTimeLength);
    summary_.cutShort = cutShort;
    if (summary_.lines.first == kUncounted || index == kUncounted)
        summary_.lines = {};
    else
        summary_.lines.end = cutShort ? index : index + 1;
    inCall_ = false;
    sink_(rows_.build(summary_));
}

}  // namespace kestal
