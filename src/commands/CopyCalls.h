// Calls onto the clipboard as tab-separated lines, the same bytes as the
// tab-separated export writes, ready to paste into a spreadsheet.
#pragma once

#include <span>

#include "platform/Platform.h"
#include "table/CallTable.h"

namespace kestal::commands {

// Edit > Copy Call: the line of table row row, without the header.
void copyCall(const CallTable& table, int row, Platform& platform);

// Edit > Copy Shown Calls: the header line and the lines of rows, in order.
void copyShownCalls(const CallTable& table, std::span<const int> rows, Platform& platform);

}  // namespace kestal::commands
