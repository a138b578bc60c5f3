// The values of one call row that summaries and charts work from, read
// once from its cells.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

#include "log/CallTable.h"
#include "log/CellValues.h"
#include "platform/RegionalSettings.h"

namespace kestal {

// Sums of 19-digit counters over many calls outgrow 64 bits.
using WideCount = unsigned __int128;
std::string wideCountText(WideCount value);

// The four counters that are summed apart from the errors.
enum TrafficCounter : int { kBytesRx = 0, kBytesTx, kFramesRx, kFramesTx };
inline constexpr int kTrafficCounterCount = 4;

struct CallValues {
    std::optional<std::chrono::year_month_day> startDate;
    // Seconds since 1970-01-01 00:00:00 of the Start Time cell.
    std::optional<std::int64_t> startTime;
    // Seconds; none for cut-short calls, calls of zero length and unreadable
    // times.
    std::optional<int> duration;
    // The End Time cell is "-" and blanks: the next call began first.
    bool cutShort = false;
    // LCP, CHAP, IPCP, CCP as whole tenths of a second.
    std::array<std::optional<std::int64_t>, kLayerColumnCount> layerTenths{};
    // Bytes Rx, Bytes Tx, Frames Rx, Frames Tx.
    std::array<std::optional<std::uint64_t>, kTrafficCounterCount> traffic{};
    // The seven error counters added up, blank and unreadable cells skipped.
    WideCount errors = 0;
};

CallValues readCallValues(const RowTexts& cells, const RegionalSettings& settings);
CallValues readCallValues(const CallTable& table, int row, const RegionalSettings& settings);

// An End Time cell of "-" and blanks only.
bool isCutShortEnd(std::string_view endCell);

}  // namespace kestal
