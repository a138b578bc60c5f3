// The order in which the calls are shown: the log's own, or by the values of
// one column (CallTable::sortKey), rising or falling. A cell without a value comes
// after every value whichever the direction, and calls with equal values
// keep their log order.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "table/CallTable.h"

namespace kestal {

enum class SortDirection { Ascending, Descending };

struct SortOrder {
    int column = 0;
    SortDirection direction = SortDirection::Ascending;
    friend bool operator==(const SortOrder&, const SortOrder&) = default;
};

// One column's values, read once: enough to order the rows either way.
struct SortKeys {
    struct KeyedRow {
        std::int64_t key;
        int row;
    };
    int column = 0;
    std::vector<KeyedRow> valued;   // rising by key, then by row
    std::vector<int> withoutValue;  // in log order
};
SortKeys readSortKeys(const CallTable& table, int column);
// The rows ordered by keys: values rising or falling, equal values in log
// order, rows without a value last.
std::vector<int> orderedRows(const SortKeys& keys, SortDirection direction);

// The table rows 0 to row count - 1 in log order.
std::vector<int> logOrder(const CallTable& table);

// The table rows 0 to row count - 1 in the order asked for; log order
// without one. Each value is taken once.
std::vector<int> sortedRows(const CallTable& table, std::optional<SortOrder> order);

// "Duration" or "duration:desc" ... (a column's header name, as the
// tab-separated export writes it, in any letter case); none for an unknown
// name or direction.
std::optional<SortOrder> parseSortOrder(TableColumns columns, std::string_view text);

}  // namespace kestal
