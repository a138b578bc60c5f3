// The one line a cleared system log holds.
#pragma once

#include <string>
#include <string_view>

#include "platform/DateTime.h"

namespace kestal {

// "12-06-2026 15:05:09:00 - PPPLOG.TXT cleared by KESTAL.EXE."
std::string markerLine(const DateTime& now, std::string_view longTimeText, char timeSeparator);

}  // namespace kestal
