// The table and details printouts, and the Copy command.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "log/CallTable.h"
#include "log/LogLines.h"
#include "platform/Platform.h"

namespace kestal {

inline constexpr std::string_view kTablePrintFont = "courier new";
inline constexpr std::string_view kCopyFilter = "Text files (*.txt)|*.TXT";

// The table printout: for every call row "Call n", 14 lines of grid title,
// ": " and cell (columns 0 to 13), then an empty line.
void forEachTablePrintoutLine(const CallTable& table,
                              const std::function<void(std::string_view line)>& emit);

// File > Print...: the table on the default printer.
void Print1Click(const CallTable& table, Platform& platform);

// The details window's Print button: the given lines as they are.
void printDetails(const std::vector<std::string>& memoLines, Platform& platform);

// Writes the lines with CR LF after each, the last included.
void writeCopyFile(const LogLines& lines, const std::string& path);

// File > Copy...: the shown log's lines to a file the user names.
void Copy1Click(const LogLines& lines, Platform& platform, FileDialog& SaveDialog1);

}  // namespace kestal
