#include "table/CallOrder.h"

#include <algorithm>
#include <cstdint>
#include <numeric>

#include "platform/AsciiCase.h"

namespace kestal {

std::vector<int> logOrder(const CallTable& table) {
    std::vector<int> rows(static_cast<std::size_t>(table.rowCount()));
    std::iota(rows.begin(), rows.end(), 0);
    return rows;
}

SortKeys readSortKeys(const CallTable& table, int column) {
    SortKeys keys;
    keys.column = column;
    keys.valued.reserve(static_cast<std::size_t>(table.rowCount()));
    for (int row = 0; row < table.rowCount(); ++row) {
        if (const std::optional<std::int64_t> key = table.sortKey(column, row))
            keys.valued.push_back({*key, row});
        else
            keys.withoutValue.push_back(row);
    }
    // The row breaks ties, so an unstable sort gives the stable order.
    std::sort(keys.valued.begin(), keys.valued.end(),
              [](const SortKeys::KeyedRow& a, const SortKeys::KeyedRow& b) {
                  return a.key < b.key || (a.key == b.key && a.row < b.row);
              });
    return keys;
}

std::vector<int> orderedRows(const SortKeys& keys, SortDirection direction) {
    std::vector<int> rows;
    rows.reserve(keys.valued.size() + keys.withoutValue.size());
    if (direction == SortDirection::Ascending) {
        for (const SortKeys::KeyedRow& keyed : keys.valued) rows.push_back(keyed.row);
    } else {
        // Runs of equal keys from the last one back, each run in log order.
        auto runEnd = keys.valued.end();
        while (runEnd != keys.valued.begin()) {
            auto runStart = runEnd - 1;
            while (runStart != keys.valued.begin() && (runStart - 1)->key == runStart->key)
                --runStart;
            for (auto keyed = runStart; keyed != runEnd; ++keyed) rows.push_back(keyed->row);
            runEnd = runStart;
        }
    }
    rows.insert(rows.end(), keys.withoutValue.begin(), keys.withoutValue.end());
    return rows;
}

std::vector<int> sortedRows(const CallTable& table, std::optional<SortOrder> order) {
    if (!order) return logOrder(table);
    return orderedRows(readSortKeys(table, order->column), order->direction);
}

std::optional<SortOrder> parseSortOrder(TableColumns columns, std::string_view text) {
    SortDirection direction = SortDirection::Ascending;
    const std::size_t colon = text.rfind(':');
    if (colon != std::string_view::npos) {
        const std::string_view suffix = text.substr(colon + 1);
        if (equalsIgnoringAsciiCase(suffix, "desc"))
            direction = SortDirection::Descending;
        else if (!equalsIgnoringAsciiCase(suffix, "asc"))
            return std::nullopt;
        text = text.substr(0, colon);
    }
    const int column = columnOfHeader(columns, text);
    if (column < 0) return std::nullopt;
    return SortOrder{column, direction};
}

}  // namespace kestal
