// The three export layouts: any table gives, in every layout and with or
// without header, one CR LF-terminated line per row (plus header and ruler),
// the cells' bytes unchanged (comma-separated: quoted where they hold a comma,
// a double quote, a CR or an LF), and in the fixed-width layout fields of
// exactly the promised widths.
#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzCheck.h"
#include "output/TableExport.h"

using namespace kestal;
using kestal::fuzz::check;

namespace {

constexpr std::string_view kFixedHeader =
    "Start Time          End Time            Duration  LCP time  CHAP time IPCP time CCP time"
    "  Bytes Rx  Bytes Tx  Frames Rx Frames Tx CRC       Timeout   Alignment Overrun   "
    "Framing   Buffer   Incomplete";

std::string quotedWhereNeeded(const std::string& cell) {
    if (cell.find_first_of(",\"\r\n") == std::string::npos) return cell;
    std::string quoted = "\"";
    for (const char c : cell) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

std::string joinedRow(const RowCells& cells, char separator) {
    std::string line;
    for (std::size_t column = 0; column < cells.size(); ++column) {
        if (column > 0) line += separator;
        line += separator == ',' ? quotedWhereNeeded(cells[column]) : cells[column];
    }
    return line;
}

std::string fixedRow(const RowCells& cells) {
    std::string line;
    for (std::size_t column = 0; column < cells.size(); ++column) {
        const std::size_t width = column < 2 ? 20 : 10;
        line += (cells[column] + std::string(10, ' ')).substr(0, width);
    }
    return line;
}

std::string expectedExport(const std::vector<RowCells>& rows, ExportLayout layout, bool header) {
    std::string out;
    if (header) {
        if (layout == ExportLayout::FixedWidth) {
            out += std::string(kFixedHeader) + "\r\n" + std::string(160, '=') + "\r\n";
        } else {
            const char separator = layout == ExportLayout::TabSeparated ? '\t' : ',';
            for (int column = 0; column < kColumnCount; ++column) {
                if (column > 0) out += separator;
                out += kDialUpColumns[static_cast<std::size_t>(column)].header;
            }
            out += "\r\n";
        }
    }
    for (const RowCells& cells : rows) {
        switch (layout) {
            case ExportLayout::TabSeparated:
                out += joinedRow(cells, '\t');
                break;
            case ExportLayout::CommaSeparated:
                out += joinedRow(cells, ',');
                break;
            case ExportLayout::FixedWidth:
                out += fixedRow(cells);
                break;
        }
        out += "\r\n";
    }
    return out;
}

// Line count and widths checked on their own, independent of the text above.
void checkShape(const CallTable& table, ExportLayout layout, bool header, std::string_view text) {
    std::size_t lines = 0;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t end = text.find("\r\n", at);
        check(end != std::string_view::npos, "last line without CR LF", text.substr(at));
        const std::string_view line = text.substr(at, end - at);
        const int row =
            static_cast<int>(lines) - (header ? (layout == ExportLayout::FixedWidth ? 2 : 1) : 0);
        if (layout == ExportLayout::FixedWidth && row >= 0) {
            std::size_t width = 16 * 10;
            for (int column = 0; column < 2; ++column)
                width += std::min<std::size_t>(table.cell(columnAt(column), row).size() + 10, 20);
            check(line.size() == width, "fixed-width row has the wrong width", line);
        }
        ++lines;
        at = end + 2;
    }
    const std::size_t headerLines = header ? (layout == ExportLayout::FixedWidth ? 2 : 1) : 0;
    check(lines == static_cast<std::size_t>(table.rowCount()) + headerLines, "number of lines",
          text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    kestal::fuzz::Input input(data, size);
    const std::uint8_t mode = input.byte();

    // Rows are separated by 0x1E and cells by 0x1F in the input. The table is
    // filled in one of several ways, and a plain copy of the cells is kept to
    // check the table itself against.
    CallTable table{kDialUpColumns};
    std::vector<RowCells> model(1);  // model[r] is row r
    int row = 0;
    bool lineEndInCell = false;
    while (!input.empty() && row < 63) {
        std::string_view rowText = input.until('\x1e');
        if (row >= table.rowCount()) table.setRowCount(row + 1);
        if (static_cast<int>(model.size()) <= row) model.resize(static_cast<std::size_t>(row) + 1);
        RowCells cells;
        for (int column = 0; column < kColumnCount && !rowText.empty(); ++column) {
            const std::size_t end = rowText.find('\x1f');
            cells[static_cast<std::size_t>(column)] = std::string(rowText.substr(0, end));
            rowText = end == std::string_view::npos ? std::string_view{} : rowText.substr(end + 1);
        }
        for (const std::string& cell : cells) {
            lineEndInCell = lineEndInCell || cell.find_first_of("\r\n") != std::string::npos;
        }
        switch ((mode + row) % 4) {
            case 0:
                for (int column = 0; column < kColumnCount; ++column) {
                    table.setCell(columnAt(column), row, cells[static_cast<std::size_t>(column)]);
                }
                break;
            case 1:
                table.writeRow(row, cells);
                break;
            case 2: {
                RowTexts texts;
                for (std::size_t column = 0; column < texts.size(); ++column)
                    texts[column] = cells[column];
                table.writeRow(row, texts);
                break;
            }
            default:
                // Overwritten cells leave garbage behind for the table to drop.
                for (int column = 0; column < kColumnCount; ++column) {
                    table.setCell(columnAt(column), row, std::string(40, 'g'));
                }
                table.clearRow(row);
                for (int column = kColumnCount - 1; column >= 0; --column) {
                    table.setCell(columnAt(column), row, cells[static_cast<std::size_t>(column)]);
                }
                break;
        }
        model[static_cast<std::size_t>(row)] = cells;
        ++row;
    }
    if (mode & 0x10) {
        // Dropping rows from the end and adding them back leaves them empty.
        const int keep = std::max(1, (table.rowCount() + 1) / 2 - 1);
        table.setRowCount(keep);
        model.resize(static_cast<std::size_t>(keep));
        table.setRowCount(keep + 2);
        model.resize(static_cast<std::size_t>(keep + 2));
    }

    check(table.rowCount() == static_cast<int>(model.size()), "row count");
    for (int r = 0; r < table.rowCount(); ++r) {
        for (int column = 0; column < kColumnCount; ++column) {
            check(table.cell(columnAt(column), r) ==
                      model[static_cast<std::size_t>(r)][static_cast<std::size_t>(column)],
                  "cell differs from what was written", table.cell(columnAt(column), r));
        }
    }
    for (int column = 0; column < kColumnCount; ++column) {
        check(table.columns()[static_cast<std::size_t>(column)].title ==
                  kDialUpColumns[static_cast<std::size_t>(column)].title,
              "column title");
    }

    for (ExportLayout layout :
         {ExportLayout::TabSeparated, ExportLayout::CommaSeparated, ExportLayout::FixedWidth}) {
        for (bool header : {false, true}) {
            const std::string text = exportTable(table, layout, header);
            check(text == expectedExport(model, layout, header), "export differs", text);
            // Cells come from log lines, which hold no line end; only such
            // tables have one line per row.
            if (!lineEndInCell) checkShape(table, layout, header, text);
        }
    }
    return 0;
}
