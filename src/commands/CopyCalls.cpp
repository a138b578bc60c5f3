#include "commands/CopyCalls.h"

#include "output/TableExport.h"

namespace kestal::commands {

void copyCall(const CallTable& table, int row, Platform& platform) {
    const int rows[] = {row};
    platform.setClipboardText(exportRows(table, rows, ExportLayout::TabSeparated, false));
}

void copyShownCalls(const CallTable& table, std::span<const int> rows, Platform& platform) {
    platform.setClipboardText(exportRows(table, rows, ExportLayout::TabSeparated, true));
}

}  // namespace kestal::commands
