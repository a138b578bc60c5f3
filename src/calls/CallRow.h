// One call block made into one row of the call table: the part of the call
// scan that the whole-file walk and the streamed walk share.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string_view>

#include "calls/DialUpColumns.h"
#include "calls/LineMatcher.h"
#include "platform/RegionalSettings.h"
#include "table/CallTable.h"

namespace kestal {

inline constexpr std::size_t kLayerColumns = 4;     // LCP, CHAP, IPCP, CCP
inline constexpr std::size_t kCounterColumns = 11;  // Bytes Rx to Incomplete Packets

// What one call block says, as views: into the log's lines, or into copies
// of the pieces that the walk keeps.
struct CallSummary {
    std::string_view startText;  // positions 1 to 19 of the "log opened" line
    std::string_view endText;    // positions 1 to 19 of the line the block ended at
    std::array<std::string_view, kLayerColumns> layerTimes{};  // positions 12 to 22
    std::array<std::string_view, kCounterColumns> counters{};  // positions 49 to 67
    bool cutShort = false;  // ended by the next call's "log opened" line
    LineSpan lines;         // where the walk counts lines: the block's lines
};

// One finished call as the grid shows it, with each cell's value.
struct CallRow {
    RowTexts cells;
    std::array<CellValue, kColumnCount> values{};
    std::uint32_t marks = 0;  // kCutShortMark
    LineSpan lines;
    // Its start or end time can't be read: the corrupt-call warning is due
    // (the row stands all the same).
    bool corrupt = false;

    // The row as the table takes it.
    BuiltRow built() const { return {cells, values, marks, lines}; }
};

// Receives the calls of a log one at a time, in the order of the log. The
// cell texts are valid only during the call: a sink that keeps rows copies
// them (into a CallTable, say); one that drops a row or sums it up keeps
// nothing.
using CallRowSink = std::function<void(const CallRow& row)>;

// Which recognised texts feed which layer and which counter column, in
// column order (linematch bits; CCP has two).
inline constexpr std::array<std::uint32_t, kLayerColumns> kLayerTexts = {
    linematch::LcpUp, linematch::ChapUp, linematch::IpcpUp,
    linematch::CcpFinished | linematch::CcpUp};
inline constexpr std::array<std::uint32_t, kCounterColumns> kCounterTexts = {
    linematch::BytesReceived,       linematch::BytesTransmitted, linematch::FramesReceived,
    linematch::FramesTransmitted,   linematch::CrcErrors,        linematch::TimeoutErrors,
    linematch::AlignmentErrors,     linematch::OverrunErrors,    linematch::FramingErrors,
    linematch::BufferOverrunErrors, linematch::IncompletePackets};
// Every text that gives a value.
inline constexpr std::uint32_t kValueTexts = [] {
    std::uint32_t texts = 0;
    for (const std::uint32_t text : kLayerTexts) texts |= text;
    for (const std::uint32_t text : kCounterTexts) texts |= text;
    return texts;
}();

// Keeps the values of one line of a call block, texts being the line's
// linematch bits; a later line of the same kind replaces the earlier value.
void takeLineValues(std::uint32_t texts, std::string_view line, CallSummary& call);

// Seconds from the start reference S ("hh:mm:ss") to the layer time T
// ("hh:mm:ss.ff"), in single precision; -1 when either can't be read with
// the regional decimal separator nor with the log's own ".".
float layerSeconds(std::string_view layerTime, std::string_view startReference,
                   char decimalSeparator);

// layerSeconds, worked out faster for times of the log's own shape.
float quickLayerSeconds(std::string_view layerTime, std::string_view startReference,
                        char decimalSeparator);

// Makes rows out of call summaries. The cells point into the summary's views
// and into the builder's own buffers, so a row is valid until the next build.
class CallRowBuilder {
public:
    // Without values, the rows' values are all none (for walks that only
    // write the rows' texts).
    explicit CallRowBuilder(const RegionalSettings& settings, bool values = true)
        : settings_(settings), values_(values) {}
    CallRowBuilder(const CallRowBuilder&) = delete;
    CallRowBuilder& operator=(const CallRowBuilder&) = delete;

    const CallRow& build(const CallSummary& call);

private:
    std::string_view durationText(const CallSummary& call);
    // A layer's cell and value from the seconds of its time after the start.
    void layerCell(std::size_t layer, std::string_view text);

    RegionalSettings settings_;
    bool values_;
    std::array<char, 8> duration_{};
    std::array<std::array<char, 64>, kLayerColumns> layers_{};
    CallRow row_;
};

}  // namespace kestal
