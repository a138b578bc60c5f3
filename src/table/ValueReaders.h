// Reading a cell's text as its value, once, when a row is made: the log's
// dates and times of day and counters as the log writes them, durations and
// layer times with the regional separators (or the log's own).
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/RegionalSettings.h"
#include "table/CellValue.h"
#include "table/TableColumns.h"

namespace kestal {

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

// A Start Time or End Time cell as a Time: whole when readCellDateTime
// reads it, the day only when just readCellDate does.
CellValue readTimeValue(std::string_view cell);

// A decimal cell as whole steps of 10^-decimals (readLayerTenths for one
// decimal); none for "-" or anything else.
std::optional<std::int64_t> readDecimalSteps(std::string_view cell, int decimals,
                                             const RegionalSettings& settings);

// A dotted address "a.b.c.d" as its 32 bits; none for anything else.
std::optional<std::uint32_t> readAddress(std::string_view cell);

// The value of a cell of the column, read from its text.
CellValue readCellValue(const TableColumn& column, std::string_view cell,
                        const RegionalSettings& settings);

}  // namespace kestal
