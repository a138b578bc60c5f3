// The call scan one line at a time, for walks that see each line only once:
// what a call block's lines give is kept as views into them while they stay,
// and copied out of them (holdCallAtHand) before they go.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "calls/CallRow.h"
#include "calls/LineMatcher.h"
#include "calls/LinePositions.h"
#include "platform/RegionalSettings.h"

namespace kestal {

// A copy of a few bytes of a line that will not stay.
template <std::size_t Capacity>
class HeldText {
public:
    void assign(std::string_view text) {
        if (text.data() == bytes_.data()) return;  // held already
        size_ = text.size() < Capacity ? text.size() : Capacity;
        if (size_ > 0) std::memcpy(bytes_.data(), text.data(), size_);
    }
    std::string_view view() const { return {bytes_.data(), size_}; }

private:
    std::array<char, Capacity> bytes_{};
    std::size_t size_ = 0;
};

class CallWalker {
public:
    // Without values, the rows are made without their values (see
    // CallRowBuilder).
    CallWalker(const RegionalSettings& settings, CallRowSink sink, bool values = true)
        : rows_(settings, values), sink_(std::move(sink)) {}

    // Walks that count the log's lines give each line's index, and each row
    // then the span of its lines; the others give none.
    static constexpr std::uint64_t kUncounted = UINT64_MAX;

    // The next line of the log, texts being its linematch bits.
    void line(std::string_view line, std::uint32_t texts, std::uint64_t index = kUncounted) {
        if (texts != 0) recognisedLine(line, texts, index);
    }
    // The log ends; its last line was last (which stays valid until now).
    void end(std::string_view last, std::uint64_t index = kUncounted);
    // A line that opens a call ends the walk there: the call at hand is cut
    // short by it, and the call it opens is left to another walk.
    void stopAt(std::string_view opening, std::uint64_t index = kUncounted);

    bool inCall() const { return inCall_; }

    // The lines walked so far are about to go: what the call at hand took
    // from them is copied.
    void holdCallAtHand();

private:
    void recognisedLine(std::string_view line, std::uint32_t texts, std::uint64_t index);
    void startCall(std::string_view line, std::uint64_t index);
    void takeValues(std::uint32_t texts, std::string_view line);
    // The call ends at line (index): after it, or before it when it was cut
    // short by it.
    void finishCall(std::string_view line, bool cutShort, std::uint64_t index);

    CallRowBuilder rows_;
    CallRowSink sink_;
    bool inCall_ = false;
    CallSummary summary_;
    HeldText<19> start_;
    std::array<HeldText<11>, kLayerColumns> layerTimes_;
    std::array<HeldText<19>, kCounterColumns> counters_;
};

// Defined here, where the walks that call line() see them whole: they run
// for every recognised line of a log.

namespace walkerdetail {

// Where the value of each recognised text goes, by text bit.
struct ValueColumn {
    bool counter;
    std::uint8_t index;
};

inline constexpr std::array<ValueColumn, linematch::kTextCount> kValueColumns = [] {
    std::array<ValueColumn, linematch::kTextCount> columns{};
    for (std::size_t bit = 0; bit < columns.size(); ++bit) {
        for (std::size_t c = 0; c < kCounterColumns; ++c)
            if (kCounterTexts[c] == 1u << bit) columns[bit] = {true, static_cast<std::uint8_t>(c)};
        for (std::size_t l = 0; l < kLayerColumns; ++l)
            if (kLayerTexts[l] & 1u << bit) columns[bit] = {false, static_cast<std::uint8_t>(l)};
    }
    return columns;
}();

}  // namespace walkerdetail

inline void CallWalker::recognisedLine(std::string_view line, std::uint32_t texts,
                                       std::uint64_t index) {
    if (texts & linematch::LogOpened) {
        // The line cuts the call at hand short and opens the next one.
        if (inCall_) finishCall(line, true, index);
        startCall(line, index);
        return;
    }
    if (!inCall_) return;
    takeValues(texts, line);
    if (texts & linematch::LogClosed) finishCall(line, false, index);
}

inline void CallWalker::startCall(std::string_view line, std::uint64_t index) {
    // Field by field: the whole summary cleared at once became a string
    // instruction that took longer than the rest of the call's walk.
    summary_.endText = {};
    summary_.layerTimes.fill({});
    summary_.counters.fill({});
    summary_.cutShort = false;
    summary_.lines.first = index;
    summary_.startText = positions(line, 1, kCallTimeLength);
    inCall_ = true;
}

inline void CallWalker::takeValues(std::uint32_t texts, std::string_view line) {
    // A later line of the same kind replaces the value held, also with an
    // empty text (a counter line too short for its value, say).
    for (std::uint32_t bits = texts & kValueTexts; bits != 0; bits &= bits - 1) {
        const walkerdetail::ValueColumn column =
            walkerdetail::kValueColumns[static_cast<std::size_t>(__builtin_ctz(bits))];
        if (column.counter) {
            summary_.counters[column.index] = positions(line, 49, 67);
        } else {
            summary_.layerTimes[column.index] = positions(line, 12, 22);
        }
    }
}

}  // namespace kestal
