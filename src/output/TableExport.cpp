#include "output/TableExport.h"

#include <algorithm>
#include <array>

#include "output/TableLines.h"
#include "platform/AsciiCase.h"
#include "platform/TextFile.h"
#include "table/CallOrder.h"

namespace kestal {

namespace {

bool containsLowerCase(std::string_view name, std::string_view suffix) {
    return toLowerAscii(name).find(suffix) != std::string::npos;
}

// Hands each line, without its line end, to writeLine. One line buffer
// serves every row.
template <typename WriteLine>
void forEachLine(const CallTable& table, std::span<const int> rows, ExportLayout layout,
                 bool header, const WriteLine& writeLine) {
    const TableColumns columns = table.columns();
    if (header) {
        for (const std::string& line : headerLines(layout, columns)) writeLine(line);
    }
    std::string line;
    line.reserve(256);
    std::array<std::string_view, kMostColumns> cells;
    for (const int row : rows) {
        for (int column = 0; column < table.columnCount(); ++column)
            cells[static_cast<std::size_t>(column)] = table.cell(column, row);
        line.clear();
        appendRowLine(line, cells, layout, columns);
        writeLine(line);
    }
}

}  // namespace

std::optional<ExportLayout> layoutForPath(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    // Tested in this order, the last match deciding.
    std::optional<ExportLayout> layout;
    if (containsLowerCase(name, ".tsv")) layout = ExportLayout::TabSeparated;
    if (containsLowerCase(name, ".csv")) layout = ExportLayout::CommaSeparated;
    if (containsLowerCase(name, ".txt")) layout = ExportLayout::FixedWidth;
    return layout;
}

void writeTable(TextFileWriter& out, const CallTable& table, ExportLayout layout, bool header) {
    writeRows(out, table, logOrder(table), layout, header);
}

void writeRows(TextFileWriter& out, const CallTable& table, std::span<const int> rows,
               ExportLayout layout, bool header) {
    forEachLine(table, rows, layout, header,
                [&out](std::string_view line) { out.writeLine(line); });
}

std::string exportTable(const CallTable& table, ExportLayout layout, bool header) {
    return exportRows(table, logOrder(table), layout, header);
}

std::string exportRows(const CallTable& table, std::span<const int> rows, ExportLayout layout,
                       bool header) {
    std::string text;
    forEachLine(table, rows, layout, header, [&text](std::string_view line) {
        text.append(line);
        text.append("\r\n");
    });
    return text;
}

}  // namespace kestal
