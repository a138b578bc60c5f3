// The lines of a table export built one at a time, so that rows can be
// written as they come without a whole table.
#pragma once

#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "calls/DialUpColumns.h"
#include "table/CallTable.h"

namespace kestal {

enum class ExportLayout { TabSeparated, CommaSeparated, FixedWidth };

// A row's cell texts in column order, at least as many as the table has
// columns.
using ExportCells = std::span<const std::string_view>;

// The header line, and for the fixed-width layout the ruler after it, of a
// table of columns.
std::vector<std::string> headerLines(ExportLayout layout, TableColumns columns = kDialUpColumns);

// One row's line, without its line end, appended to line.
void appendRowLine(std::string& line, ExportCells cells, ExportLayout layout,
                   TableColumns columns = kDialUpColumns);

// The width of a column's field in the fixed-width layout: the dial-up
// log's times 20 and every other column 10; the columns of other logs by
// the kind of their value, wide enough for what they hold.
std::size_t fixedFieldWidth(TableColumns columns, std::size_t column);

// Hands on each line of an export, without its line end.
using ExportLineSink = std::function<void(std::string_view line)>;

// Writes a table a row at a time: the header (when asked for) at once, each
// row as it comes, and at the end the empty row 0 of a table that got no
// call, as the export of such a table holds.
class TableLineWriter {
public:
    TableLineWriter(ExportLayout layout, bool header, ExportLineSink writeLine,
                    TableColumns columns = kDialUpColumns);
    void write(ExportCells cells);
    // The line write() would write for cells, with its line end, appended
    // to text instead: for lines made on other threads and written in bulk.
    void appendLine(std::string& text, ExportCells cells) const;
    void finish();

private:
    ExportLineSink writeLine_;
    ExportLayout layout_;
    TableColumns columns_;
    std::string line_;
    bool wroteRow_ = false;
};

}  // namespace kestal
