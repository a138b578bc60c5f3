// Where the system log lives: the Windows directory, the log's path in it,
// and the temporary file a repair writes beside a log.
#pragma once

#include <string>
#include <string_view>

#include "platform/Platform.h"

namespace kestal {

inline constexpr std::string_view kLogFileSuffix = "/ppplog.txt";
inline constexpr std::string_view kTempFileName = "ppplog.tmp";

// The platform's Windows directory, as long as it is shorter than 256 bytes
// (the most the log's folder may take); false when there is none or it is
// longer.
bool windowsDirectory(Platform& platform, std::string& directory);

// The Windows directory followed by "/ppplog.txt"; false when there is no
// Windows directory.
bool defaultLogPath(Platform& platform, std::string& path);

// The directory part of logPath (up to and including its last "/")
// followed by "ppplog.tmp".
std::string tempPathFor(std::string_view logPath);

}  // namespace kestal
