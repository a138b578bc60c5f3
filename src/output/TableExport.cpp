#include "output/TableExport.h"

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

bool containsLowerCase(std::string_view name, std::string_view suffix) {
    if (name.size() < suffix.size()) return false;
    for (std::size_t at = 0; at + suffix.size() <= name.size(); ++at) {
        bool same = true;
        for (std::size_t k = 0; k < suffix.size() && same; ++k) {
            char c = name[at + k];
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
            same = c == suffix[k];
        }
        if (same) return true;
    }
    return false;
}

char separatorOf(ExportLayout layout) { return layout == ExportLayout::TabSeparated ? '\t' : ','; }

void appendField(std::string& line, std::string_view cell, std::size_t width) {
    const std::size_t kept = std::min(cell.size(), width);
    line.append(cell.data(), kept);
    line.append(std::min(cell.size() + kFieldPadding, width) - kept, ' ');
}

// A tab-separated cell is written as it stands; a comma-separated one is
// quoted when it would otherwise split its row or run into the next.
void appendSeparatedField(std::string& line, std::string_view cell, ExportLayout layout) {
    if (layout == ExportLayout::CommaSeparated) {
        appendCsvField(line, cell);
    } else {
        line.append(cell);
    }
}

void buildSeparatedLine(std::string& line, const CallTable& table, int row, ExportLayout layout) {
    for (int column = 0; column < kColumnCount; ++column) {
        if (column > 0) line.push_back(separatorOf(layout));
        appendSeparatedField(line, table.cell(column, row), layout);
    }
}

void buildFixedWidthLine(std::string& line, const CallTable& table, int row) {
    for (int column = 0; column < kColumnCount; ++column) {
        appendField(line, table.cell(column, row), column < 2 ? kTimeFieldWidth : kFieldWidth);
    }
}

// Hands each line, without its line end, to writeLine. One line buffer
// serves every row.
template <typename WriteLine>
void forEachLine(const CallTable& table, ExportLayout layout, bool header,
                 const WriteLine& writeLine) {
    std::string line;
    line.reserve(256);
    if (header) {
        if (layout == ExportLayout::FixedWidth) {
            for (const std::string_view part : kFixedWidthHeader) line.append(part);
            writeLine(line);
            line.assign(kRulerLength, '=');
            writeLine(line);
        } else {
            for (int column = 0; column < kColumnCount; ++column) {
                if (column > 0) line.push_back(separatorOf(layout));
                appendSeparatedField(line, kColumns[column].header, layout);
            }
            writeLine(line);
        }
    }
    for (int row = 1; row < table.rowCount(); ++row) {
        line.clear();
        if (layout == ExportLayout::FixedWidth) {
            buildFixedWidthLine(line, table, row);
        } else {
            buildSeparatedLine(line, table, row, layout);
        }
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
    forEachLine(table, layout, header, [&out](std::string_view line) { out.writeLine(line); });
}

std::string exportTable(const CallTable& table, ExportLayout layout, bool header) {
    std::string text;
    forEachLine(table, layout, header, [&text](std::string_view line) {
        text.append(line);
        text.append("\r\n");
    });
    return text;
}

void SaveAs1Click(const CallTable& table, Platform& platform, FileDialog& SaveDialog1) {
    SaveDialog1.fileName.clear();
    SaveDialog1.filter = std::string(kSaveTableFilter);
    if (!platform.executeFileDialog(SaveDialog1)) return;

    const bool header = platform.messageDlg(kHeaderQuestion, DialogType::Information,
                                            DialogButtons::YesNo) == DialogResult::Yes;

    const std::string path = SaveDialog1.fileName;
    const std::optional<ExportLayout> layout = layoutForPath(path);
    if (!layout) {
        // Saying nothing here would leave the user believing the table saved.
        platform.messageDlg(kNoLayoutWarning, DialogType::Warning, DialogButtons::Ok);
        return;
    }

    TextFileWriter out(TextFileWriter::Errors::InOut);
    out.create(path);
    writeTable(out, table, *layout, header);
    out.close();
}

}  // namespace kestal
