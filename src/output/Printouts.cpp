#include "output/Printouts.h"

#include "platform/TextFile.h"
#include "platform/TextPrinter.h"

namespace kestal {

namespace {

// The table printout leaves out the last four counters.
constexpr int kPrintedColumns = 14;

}  // namespace

void forEachTablePrintoutLine(const CallTable& table,
                              const std::function<void(std::string_view line)>& emit) {
    std::string line;
    for (int row = 1; row < table.rowCount(); ++row) {
        emit("Call " + std::to_string(row));
        for (int column = 0; column < kPrintedColumns; ++column) {
            line.assign(kColumns[column].title);
            line += ": ";
            line += table.cell(column, row);
            emit(line);
        }
        emit("");
    }
}

void Print1Click(const CallTable& table, Platform& platform) {
    TextPrinter& printer = platform.printer();
    printer.open();
    printer.setFontName(kTablePrintFont);
    forEachTablePrintoutLine(table, [&printer](std::string_view line) { printer.writeLine(line); });
    printer.close();
}

void printDetails(const std::vector<std::string>& memoLines, Platform& platform) {
    TextPrinter& printer = platform.printer();
    printer.open();
    for (const std::string& line : memoLines) printer.writeLine(line);
    printer.close();
}

void writeCopyFile(const LogLines& lines, const std::string& path) {
    TextFileWriter file(TextFileWriter::Errors::Stream);
    file.create(path);
    for (std::size_t i = 0; i < lines.size(); ++i) file.writeLine(lines[i]);
    file.close();
}

void Copy1Click(const LogLines& lines, Platform& platform, FileDialog& SaveDialog1) {
    SaveDialog1.fileName.clear();
    SaveDialog1.filter = std::string(kCopyFilter);
    if (!platform.executeFileDialog(SaveDialog1)) return;
    writeCopyFile(lines, SaveDialog1.fileName);
}

}  // namespace kestal
