// Reading the call table's text cells back as values, for sorting,
// filtering and statistics. The cells are read as the scan wrote them: the
// dates and times of day as the log has them, durations and layer times with
// the regional separators.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/RegionalSettings.h"

namespace kestal {

// Where each value sits in a call row.
enum CallColumn : int {
    kStartTimeColumn = 0,
    kEndTimeColumn,
    kDurationColumn,
    kLcpColumn,
    kChapColumn,
    kIpcpColumn,
    kCcpColumn,
    kBytesRxColumn,
    kBytesTxColumn,
    kFramesRxColumn,
    kFramesTxColumn,
    kCrcErrorsColumn,
    kTimeoutErrorsColumn,
    kAlignmentErrorsColumn,
    kOverrunErrorsColumn,
    kFramingErrorsColumn,
    kBufferErrorsColumn,
    kIncompletePacketsColumn,
};
inline constexpr int kFirstLayerColumn = kLcpColumn;
inline constexpr int kLayerColumnCount = 4;
inline constexpr int kFirstCounterColumn = kBytesRxColumn;
inline constexpr int kFirstErrorColumn = kCrcErrorsColumn;
inline constexpr int kErrorColumnCount = 7;

// What kind of value a column holds.
enum class CellKind { DateTime, Duration, LayerTime, Count };
CellKind cellKind(int column);

// The date of a Start Time or End Time cell, "MM-DD-YYYY" at its start; none
// when that is no valid date.
std::optional<std::chrono::year_month_day> readCellDate(std::string_view cell);

// A Start Time or End Time cell "MM-DD-YYYY hh:mm:ss" as seconds since
// 1970-01-01 00:00:00; none unless both the date and the time can be read.
std::optional<std::int64_t> readCellDateTime(std::string_view cell);

// A Duration cell "hh:mm:ss" as seconds; none for "-" or anything else.
std::optional<int> readDurationCell(std::string_view cell, const RegionalSettings& settings);

// A layer cell ("2.6", " 0.9") as whole tenths of a second; none for "-".
std::optional<std::int64_t> readLayerTenths(std::string_view cell,
                                            const RegionalSettings& settings);

// A counter cell as a whole number, blanks around the digits allowed; none
// for a blank cell, any other character or a number too big for 64 bits.
std::optional<std::uint64_t> readCountCell(std::string_view cell);

// The value a cell of the column holds, as one ordered number (seconds,
// tenths or a count); none when the cell holds no value of its kind.
std::optional<std::int64_t> readCellKey(int column, std::string_view cell,
                                        const RegionalSettings& settings);

}  // namespace kestal
