// Where the system log lives, and the repair's temporary file beside a log.
#include "commands/SystemLog.h"

namespace kestal {

namespace {

// Room for the directory and its closing NUL.
constexpr std::size_t kWindowsDirectoryRoom = 256;

}  // namespace

bool windowsDirectory(Platform& platform, std::string& directory) {
    const std::optional<std::string> found = platform.windowsDirectory();
    // A directory too long is no directory, never a shortened one.
    if (!found || found->empty() || found->size() >= kWindowsDirectoryRoom) return false;
    directory = *found;
    return true;
}

bool defaultLogPath(Platform& platform, std::string& path) {
    std::string directory;
    if (!windowsDirectory(platform, directory)) return false;
    path = directory + std::string(kLogFileSuffix);
    return true;
}

std::string tempPathFor(std::string_view logPath) {
    const std::size_t slash = logPath.rfind('/');
    const std::string_view directory =
        slash == std::string_view::npos ? std::string_view() : logPath.substr(0, slash + 1);
    return std::string(directory) + std::string(kTempFileName);
}

}  // namespace kestal
