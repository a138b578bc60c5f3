#include "output/TableLines.h"

#include <algorithm>
#include <array>

#include "output/CsvField.h"
#include "platform/TextFile.h"

namespace kestal {

namespace {

// The fixed-width header is written as these texts, not built from the
// column words: its blanks don't line up with the fields below it.
constexpr std::array<std::string_view, 5> kFixedWidthHeader = {
    "Start Time          End Time            Duration",
    "  LCP time  CHAP time IPCP time CCP time",
    "  Bytes Rx  Bytes Tx  Frames Rx Frames Tx CRC   ",
    "    Timeout   Alignment Overrun   ",
    "Framing   Buffer   Incomplete",
};
constexpr std::size_t kRulerLength = 160;

// Each field is its cell followed by 10 blanks, cut to the field's width.
constexpr std::size_t kFieldPadding = 10;
constexpr std::size_t kTimeFieldWidth = 20;  // Start Time and End Time
constexpr std::size_t kFieldWidth = 10;      // every other column

bool isDialUp(TableColumns columns) { return columns.data() == kDialUpColumns.data(); }

// The fields of other logs' fixed-width layout, by the kind of value: a
// time as the dial-up log's, counts up to 14 digits, dotted addresses, and
// texts such as how a session ended.
std::size_t kindFieldWidth(ValueKind kind) {
    switch (kind) {
        case ValueKind::Time:
            return kTimeFieldWidth;
        case ValueKind::Number:
            return 14;
        case ValueKind::Address:
            return 16;
        case ValueKind::Text:
            return 20;
        case ValueKind::Duration:
        case ValueKind::Decimal:
            break;
    }
    return kFieldWidth;
}

// The last column of another log's fixed-width layout (a message, say) is
// written whole: nothing follows that it could run into.
bool writtenWhole(TableColumns columns, std::size_t column) {
    return !isDialUp(columns) && column + 1 == columns.size();
}

void appendField(std::string& line, std::string_view cell, std::size_t width,
                 std::size_t padding = kFieldPadding) {
    const std::size_t kept = std::min(cell.size(), width);
    line.append(cell.data(), kept);
    line.append(std::min(cell.size() + padding, width) - kept, ' ');
}

char separatorOf(ExportLayout layout) { return layout == ExportLayout::TabSeparated ? '\t' : ','; }

// A tab-separated cell is written as it stands; a comma-separated one is
// quoted when it would otherwise split its row or run into the next.
void appendSeparatedField(std::string& line, std::string_view cell, ExportLayout layout) {
    if (layout == ExportLayout::CommaSeparated) {
        appendCsvField(line, cell);
    } else {
        line.append(cell);
    }
}

}  // namespace

std::size_t fixedFieldWidth(TableColumns columns, std::size_t column) {
    if (isDialUp(columns)) return column < 2 ? kTimeFieldWidth : kFieldWidth;
    const TableColumn& described = columns[column];
    return std::max(kindFieldWidth(described.kind), described.word.size() + 2);
}

std::vector<std::string> headerLines(ExportLayout layout, TableColumns columns) {
    std::string line;
    if (layout == ExportLayout::FixedWidth && isDialUp(columns)) {
        for (const std::string_view part : kFixedWidthHeader) line.append(part);
        return {line, std::string(kRulerLength, '=')};
    }
    if (layout == ExportLayout::FixedWidth) {
        // Each word over its field, the ruler as long as the header.
        for (std::size_t column = 0; column < columns.size(); ++column) {
            const std::string_view word = columns[column].word;
            line.append(word);
            if (!writtenWhole(columns, column))
                line.append(fixedFieldWidth(columns, column) - word.size(), ' ');
        }
        return {line, std::string(line.size(), '=')};
    }
    for (std::size_t column = 0; column < columns.size(); ++column) {
        if (column > 0) line.push_back(separatorOf(layout));
        appendSeparatedField(line, columns[column].header, layout);
    }
    return {line};
}

void appendRowLine(std::string& line, ExportCells cells, ExportLayout layout,
                   TableColumns columns) {
    for (std::size_t column = 0; column < columns.size(); ++column) {
        if (layout == ExportLayout::FixedWidth) {
            if (writtenWhole(columns, column))
                line.append(cells[column]);
            else
                // Other logs' fields are filled up to their width, so that
                // each starts under its word whatever the cells before it.
                appendField(line, cells[column], fixedFieldWidth(columns, column),
                            isDialUp(columns) ? kFieldPadding : fixedFieldWidth(columns, column));
        } else {
            if (column > 0) line.push_back(separatorOf(layout));
            appendSeparatedField(line, cells[column], layout);
        }
    }
}

TableLineWriter::TableLineWriter(ExportLayout layout, bool header, ExportLineSink writeLine,
                                 TableColumns columns)
    : writeLine_(std::move(writeLine)), layout_(layout), columns_(columns) {
    line_.reserve(256);
    if (header) {
        for (const std::string& line : headerLines(layout, columns_)) writeLine_(line);
    }
}

void TableLineWriter::write(ExportCells cells) {
    line_.clear();
    appendRowLine(line_, cells, layout_, columns_);
    writeLine_(line_);
    wroteRow_ = true;
}

void TableLineWriter::appendLine(std::string& text, ExportCells cells) const {
    appendRowLine(text, cells, layout_, columns_);
    text.append(kLineEnd);
}

void TableLineWriter::finish() {
    if (!wroteRow_) write(std::array<std::string_view, kMostColumns>{});
}

}  // namespace kestal
