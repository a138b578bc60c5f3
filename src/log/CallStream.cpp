#include "log/CallStream.h"

#include "log/CallScan.h"
#include "log/CallWalker.h"
#include "log/LineMatcher.h"

namespace kestal {

namespace lm = linematch;

namespace {

// Where the value of each recognised text goes, by text bit.
struct ValueColumn {
    bool counter;
    std::size_t index;
};

std::array<ValueColumn, lm::kTextCount> valueColumns() {
    std::array<ValueColumn, lm::kTextCount> columns{};
    for (int bit = 0; bit < lm::kTextCount; ++bit) {
        for (std::size_t c = 0; c < kCounterColumns; ++c)
            if (kCounterTexts[c] == 1u << bit) columns[static_cast<std::size_t>(bit)] = {true, c};
        for (std::size_t l = 0; l < kLayerColumns; ++l)
            if (kLayerTexts[l] & 1u << bit) columns[static_cast<std::size_t>(bit)] = {false, l};
    }
    return columns;
}

const std::array<ValueColumn, lm::kTextCount> kValueColumns = valueColumns();

}  // namespace

void CallWalker::recognisedLine(std::string_view line, std::uint32_t texts) {
    if (texts & lm::LogOpened) {
        // The line cuts the call at hand short and opens the next one.
        if (inCall_) finishCall(line, true);
        startCall(line);
        return;
    }
    if (!inCall_) return;
    takeValues(texts, line);
    if (texts & lm::LogClosed) finishCall(line, false);
}

void CallWalker::end(std::string_view last) {
    if (inCall_) finishCall(last, false);
}

void CallWalker::stopAt(std::string_view opening) {
    if (inCall_) finishCall(opening, true);
}

void CallWalker::startCall(std::string_view line) {
    // Field by field: the whole summary cleared at once became a string
    // instruction that took longer than the rest of the call's walk.
    summary_.endText = {};
    summary_.layerTimes.fill({});
    summary_.counters.fill({});
    summary_.cutShort = false;
    summary_.startText = positions(line, 1, 19);
    inCall_ = true;
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

void CallWalker::takeValues(std::uint32_t texts, std::string_view line) {
    // A later line of the same kind replaces the value held, also with an
    // empty text (a counter line too short for its value, say).
    for (std::uint32_t bits = texts & kValueTexts; bits != 0; bits &= bits - 1) {
        const ValueColumn column = kValueColumns[__builtin_ctz(bits)];
        if (column.counter) {
            summary_.counters[column.index] = positions(line, 49, 67);
        } else {
            summary_.layerTimes[column.index] = positions(line, 12, 22);
        }
    }
}

// The end text is taken from a line that stays valid until the row is built,
// so it needs no copy.
void CallWalker::finishCall(std::string_view line, bool cutShort) {
    summary_.endText = positions(line, 1, 19);
    summary_.cutShort = cutShort;
    inCall_ = false;
    sink_(rows_.build(summary_));
}

void streamCalls(LineStream& lines, const RegionalSettings& settings, const CallRowSink& sink) {
    CallWalker walker(settings, sink);
    std::string_view last;
    for (auto batch = lines.nextBatch(); !batch.empty(); batch = lines.nextBatch()) {
        for (const LineStream::MatchedLine& line : batch) walker.line(line.text, line.texts);
        last = batch.back().text;
        walker.holdCallAtHand();
    }
    walker.end(last);
}

}  // namespace kestal
