#include "commands/Print.h"

#include "output/Printouts.h"
#include "platform/TextPrinter.h"

namespace kestal::commands {

void printTable(const CallTable& table, Platform& platform) {
    TextPrinter& printer = platform.printer();
    printer.open();
    printer.setFontName(kTablePrintFont);
    forEachTablePrintoutLine(table, [&printer](std::string_view line) { printer.writeLine(line); });
    printer.close();
}

void printDetails(const std::vector<std::string>& lines, Platform& platform) {
    TextPrinter& printer = platform.printer();
    printer.open();
    for (const std::string& line : lines) printer.writeLine(line);
    printer.close();
}

}  // namespace kestal::commands
