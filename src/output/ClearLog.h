// Clearing the system log to one marker line.
#pragma once

#include <string>
#include <string_view>

#include "log/LogLoader.h"
#include "platform/Platform.h"

namespace kestal {

inline constexpr std::string_view kClearQuestion = "Are Sure you want to clear the PPPLOG.TXT file?";

// "12-06-2026 15:05:09:00 - PPPLOG.TXT cleared by KESTAL.EXE."
std::string markerLine(const DateTime& now, std::string_view longTimeText, char timeSeparator);

// File > Clear. Ends the program (through Platform::closeMainWindow) after a
// successful clear or when the Windows directory can't be found.
void Clear1Click(LogState& state, Platform& platform);

}  // namespace kestal
