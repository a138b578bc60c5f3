// File > Print... and the details window's Print button: text on the
// program's printer.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/Platform.h"
#include "table/CallTable.h"

namespace kestal {

inline constexpr std::string_view kTablePrintFont = "courier new";

}  // namespace kestal

namespace kestal::commands {

// The table printout on the default printer, in Courier New.
void printTable(const CallTable& table, Platform& platform);

// The given lines as they are, in the font the printer has.
void printDetails(const std::vector<std::string>& lines, Platform& platform);

}  // namespace kestal::commands
