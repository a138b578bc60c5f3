#include "log/CallStream.h"

#include <array>
#include <cstring>

#include "log/CallScan.h"
#include "log/LineMatcher.h"

namespace kestal {

namespace {

namespace lm = linematch;

// A copy of a few bytes of a line, which the stream is about to reuse.
template <std::size_t Capacity>
class HeldText {
public:
    void assign(std::string_view text) {
        size_ = text.size() < Capacity ? text.size() : Capacity;
        std::memcpy(bytes_.data(), text.data(), size_);
    }
    std::string_view view() const { return {bytes_.data(), size_}; }

private:
    std::array<char, Capacity> bytes_{};
    std::size_t size_ = 0;
};

// The call being read: the pieces of its lines that its row shows, held
// until its block ends.
class HeldCall {
public:
    void start(std::string_view line) {
        start_.assign(positions(line, 1, 19));
        summary_ = CallSummary{};
        summary_.startText = start_.view();
    }

    // The values of a line of the block, copied out of the line.
    void take(std::uint32_t texts, std::string_view line) {
        // What the line gives replaces the value held, also with an empty
        // text (a counter line too short for its value, say): the fields
        // still pointing at kUnset are those the line gives nothing for.
        CallSummary found;
        found.layerTimes.fill(kUnset);
        found.counters.fill(kUnset);
        takeLineValues(texts, line, found);
        for (std::size_t l = 0; l < kLayerColumns; ++l) {
            if (found.layerTimes[l].data() == kUnset.data()) continue;
            layerTimes_[l].assign(found.layerTimes[l]);
            summary_.layerTimes[l] = layerTimes_[l].view();
        }
        for (std::size_t c = 0; c < kCounterColumns; ++c) {
            if (found.counters[c].data() == kUnset.data()) continue;
            counters_[c].assign(found.counters[c]);
            summary_.counters[c] = counters_[c].view();
        }
    }

    // The block ends at line; a line that stays valid until the row is
    // built need not be copied.
    const CallSummary& end(std::string_view line, bool cutShort) {
        summary_.endText = positions(line, 1, 19);
        summary_.cutShort = cutShort;
        return summary_;
    }

private:
    static constexpr std::string_view kUnset{"", 0};

    HeldText<19> start_;
    std::array<HeldText<11>, kLayerColumns> layerTimes_;
    std::array<HeldText<19>, kCounterColumns> counters_;
    CallSummary summary_;
};

}  // namespace

void streamCalls(LineStream& lines, const RegionalSettings& settings, const CallRowSink& sink) {
    CallRowBuilder rows(settings);
    HeldCall call;
    bool inCall = false;
    std::string_view line;
    std::string_view last;  // the last line read, which ends a call the log ends in
    while (lines.next(line)) {
        last = line;
        const std::uint32_t texts = lm::matchLine(line);
        if (texts == 0) continue;
        if (texts & lm::LogOpened) {
            // The line cuts the call at hand short and opens the next one.
            if (inCall) sink(rows.build(call.end(line, true)));
            call.start(line);
            inCall = true;
            continue;
        }
        if (!inCall) continue;
        call.take(texts, line);
        if (texts & lm::LogClosed) {
            sink(rows.build(call.end(line, false)));
            inCall = false;
        }
    }
    if (inCall) sink(rows.build(call.end(last, false)));
}

}  // namespace kestal
