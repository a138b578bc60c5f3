// The values of one call row that summaries and charts work from, read
// once from its cells and small enough to keep for every call of a big log
// (96 bytes), so that another period or chart only goes over them again.
#pragma once

#include <array>
#include <climits>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/RegionalSettings.h"
#include "table/CallTable.h"
#include "table/CellValues.h"

namespace kestal {

// Sums of 19-digit counters over many calls outgrow 64 bits.
using WideCount = unsigned __int128;
std::string wideCountText(WideCount value);

// The four counters that are summed apart from the errors.
enum TrafficCounter : int { kBytesRx = 0, kBytesTx, kFramesRx, kFramesTx };
inline constexpr int kTrafficCounterCount = 4;

struct CallValues {
    static constexpr std::int32_t kNone = INT32_MIN;
    // Days since 1970-01-01 of the Start Time cell's date.
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
    // The seven error counters added up, blank and unreadable cells skipped.
    WideCount errors = 0;

    bool hasLayer(int layer) const { return (layers >> layer) & 1u; }
    bool hasTraffic(int counter) const { return (counted >> counter) & 1u; }
    // Seconds since 1970-01-01 00:00:00 of the Start Time cell.
    std::optional<std::int64_t> startTime() const;
};

CallValues readCallValues(const RowTexts& cells, const RegionalSettings& settings);
CallValues readCallValues(const CallTable& table, int row, const RegionalSettings& settings);
// The values of the given table rows (1 and on), in the order given. A long
// list is read by two threads, each into its half.
std::vector<CallValues> readCallValues(const CallTable& table, std::span<const int> rows,
                                       const RegionalSettings& settings);

// Every call row's values; element i belongs to table row i + 1.
std::vector<CallValues> readAllCallValues(const CallTable& table, const RegionalSettings& settings);

// values[row - 1]: the values of a table row among every row's values;
// throws std::out_of_range for a row that has none.
const CallValues& valueOfRow(std::span<const CallValues> values, int row);

// An End Time cell of "-" and blanks only.
bool isCutShortEnd(std::string_view endCell);

}  // namespace kestal
