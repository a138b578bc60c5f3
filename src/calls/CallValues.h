// The values of one dial-up call that summaries, charts and the filter work
// from, taken from its row's typed values (no text is read).
#pragma once

#include <array>
#include <climits>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "calls/DialUpColumns.h"
#include "table/CallTable.h"

namespace kestal {

// Sums of 19-digit counters over many calls outgrow 64 bits.
using WideCount = unsigned __int128;
std::string wideCountText(WideCount value);

// The four counters that are summed apart from the errors.
enum TrafficCounter : int { kBytesRx = 0, kBytesTx, kFramesRx, kFramesTx };
inline constexpr int kTrafficCounterCount = 4;

struct CallValues {
    static constexpr std::int32_t kNone = INT32_MIN;
    // Days since 1970-01-01 of the Start Time's date.
    std::int32_t startDay = kNone;
    // Seconds into that day; none unless the time of day can be read too.
    std::int32_t startSecond = kNone;
    // Seconds; none for cut-short calls, calls of zero length and unreadable
    // times.
    std::int32_t duration = kNone;
    // The End Time cell is "-" and blanks: the next call began first.
    bool cutShort = false;
    std::uint8_t layers = 0;   // bit l: layer l (LCP, CHAP, IPCP, CCP) holds a number
    std::uint8_t counted = 0;  // bit c: traffic counter c holds a number
    // Whole tenths of a second; 0 where the layer has no number.
    std::array<std::int64_t, kLayerColumnCount> layerTenths{};
    // Bytes Rx, Bytes Tx, Frames Rx, Frames Tx; 0 where no number.
    std::array<std::uint64_t, kTrafficCounterCount> traffic{};
    // The seven error counters added up, cells without a number skipped.
    WideCount errors = 0;

    bool hasLayer(int layer) const { return (layers >> layer) & 1u; }
    bool hasTraffic(int counter) const { return (counted >> counter) & 1u; }
    // Seconds since 1970-01-01 00:00:00 of the Start Time.
    std::optional<std::int64_t> startTime() const;
};

// The values of a call from its row's values (in column order) and marks.
CallValues callValuesOf(std::span<const CellValue> values, std::uint32_t marks);
// The values of a table row.
CallValues callValuesOf(const CallTable& table, int row);

}  // namespace kestal
