// What a call table's columns are: each one's titles, width, the kind of
// value its cells hold and how its cells come to be. A kind of log describes
// its columns once; the table, the grid, the exports, sorting and the
// figures all go by that description.
#pragma once

#include <cstddef>
#include <span>
#include <string_view>

// Marks a grid title for the translators' catalogue: the grid shows it in
// the user's language, the exports and kestal-calls in English.
#ifndef QT_TRANSLATE_NOOP
#define QT_TRANSLATE_NOOP(scope, x) x
#endif

namespace kestal {

// What a column's value is.
enum class ValueKind {
    Time,      // a date and time of day: seconds since 1970-01-01 00:00:00
    Duration,  // whole seconds
    Number,    // a count, 0 to 2^64 - 1
    Decimal,   // a number in whole steps of 10^-decimals
    Address,   // an IPv4 address, the 32 bits as a number
    Text,      // no value: the cell is all there is
};

// Where a column's cell texts come from.
enum class CellSource {
    Logged,   // the log's own text, as it stands in the line
    Written,  // written by the row builder from the value, with the regional separators
};

struct TableColumn {
    std::string_view title;   // grid title, leading blank included
    int width;                // initial grid width in pixels
    std::string_view header;  // name in the tab- and comma-separated exports
    std::string_view word;    // word in the fixed-width export's header
    ValueKind kind;
    CellSource source;
    int decimals = 0;  // Decimal: the value counts steps of 10^-decimals
};

// A table's columns, in order. Descriptions are constants that outlive
// every table made of them.
using TableColumns = std::span<const TableColumn>;

// A table has at most this many columns.
inline constexpr std::size_t kMostColumns = 24;

// The column whose header name is name, whatever the letter case; -1 for
// any other name.
int columnOfHeader(TableColumns columns, std::string_view name);

}  // namespace kestal
