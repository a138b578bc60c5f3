#include "commands/SystemLog.h"

namespace kestal {

namespace {

constexpr unsigned kWindowsDirectoryBuffer = 256;

}  // namespace

bool windowsDirectory(Platform& platform, std::string& directory) {
    std::string buffer(kWindowsDirectoryBuffer, '\0');
    const unsigned length = platform.copyWindowsDirectory(buffer.data(), kWindowsDirectoryBuffer);
    // A directory too long for the buffer is answered with the size it would
    // need and the buffer left unfilled: that is a failure too, never an
    // empty directory.
    if ((length & 0xFFFFu) == 0 || length >= kWindowsDirectoryBuffer) return false;
    directory.assign(buffer.data(), length);
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
