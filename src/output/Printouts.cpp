#include "output/Printouts.h"

#include "platform/TextFile.h"

namespace kestal {

namespace {

// The dial-up table's printout leaves out the last four counters; other
// logs' tables are printed whole, each row under its number.
constexpr int kPrintedDialUpColumns = 14;

}  // namespace

void forEachTablePrintoutLine(const CallTable& table,
                              const std::function<void(std::string_view line)>& emit) {
    const bool dialUp = table.columns().data() == kDialUpColumns.data();
    const int printedColumns = dialUp ? kPrintedDialUpColumns : table.columnCount();
    const char* heading = dialUp ? "Call " : "Row ";
    std::string line;
    for (int row = 0; row < table.rowCount(); ++row) {
        emit(heading + std::to_string(row + 1));  // the user counts rows from 1
        for (int column = 0; column < printedColumns; ++column) {
            line.assign(table.columns()[static_cast<std::size_t>(column)].title);
            line += ": ";
            line += table.cell(column, row);
            emit(line);
        }
        emit("");
    }
}

void writeCopyFile(const LogLines& lines, const std::string& path) {
    TextFileWriter file(TextFileWriter::Errors::Stream);
    file.create(path);
    for (std::size_t i = 0; i < lines.size(); ++i) file.writeLine(lines[i]);
    file.close();
}

}  // namespace kestal
