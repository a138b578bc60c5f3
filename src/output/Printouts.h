// The table printout's lines and the Copy file: the shown log and its call
// table as text.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "calls/DialUpColumns.h"
#include "lines/LogLines.h"
#include "table/CallTable.h"

namespace kestal {

// The table printout: for every call row "Call n", 14 lines of grid title,
// ": " and cell (columns 0 to 13), then an empty line. Another log's table
// prints "Row n" and a line for each of its columns.
void forEachTablePrintoutLine(const CallTable& table,
                              const std::function<void(std::string_view line)>& emit);

// Writes the lines with CR LF after each, the last included.
void writeCopyFile(const LogLines& lines, const std::string& path);

}  // namespace kestal
