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

void appendField(std::string& line, std::string_view cell, std::size_t width) {
    const std::size_t kept = std::min(cell.size(), width);
    line.append(cell.data(), kept);
    line.append(std::min(cell.size() + kFieldPadding, width) - kept, ' ');
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

std::vector<std::string> headerLines(ExportLayout layout) {
    std::string line;
    if (layout == ExportLayout::FixedWidth) {
        for (const std::string_view part : kFixedWidthHeader) line.append(part);
        return {line, std::string(kRulerLength, '=')};
    }
    for (std::size_t column = 0; column < kColumnCount; ++column) {
        if (column > 0) line.push_back(separatorOf(layout));
        appendSeparatedField(line, kDialUpColumns[column].header, layout);
    }
    return {line};
}

void appendRowLine(std::string& line, const RowTexts& cells, ExportLayout layout) {
    for (std::size_t column = 0; column < kColumnCount; ++column) {
        if (layout == ExportLayout::FixedWidth) {
            appendField(line, cells[column], column < 2 ? kTimeFieldWidth : kFieldWidth);
        } else {
            if (column > 0) line.push_back(separatorOf(layout));
            appendSeparatedField(line, cells[column], layout);
        }
    }
}

TableLineWriter::TableLineWriter(ExportLayout layout, bool header, ExportLineSink writeLine)
    : writeLine_(std::move(writeLine)), layout_(layout) {
    line_.reserve(256);
    if (header) {
        for (const std::string& line : headerLines(layout)) writeLine_(line);
    }
}

void TableLineWriter::write(const RowTexts& cells) {
    line_.clear();
    appendRowLine(line_, cells, layout_);
    writeLine_(line_);
    wroteRow_ = true;
}

void TableLineWriter::appendLine(std::string& text, const RowTexts& cells) const {
    appendRowLine(text, cells, layout_);
    text.append(kLineEnd);
}

void TableLineWriter::finish() {
    if (!wroteRow_) write(RowTexts{});
}

}  // namespace kestal
