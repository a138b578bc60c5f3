// Finding the Windows directory from the environment and the Wine prefix.
#include "platform/WindowsDirectory.h"

#include <sys/stat.h>

#include <cstdlib>

namespace kestal {

namespace {

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

bool isDirectory(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

std::optional<std::string> findWindowsDirectory() {
    if (std::string windir = environment("WINDIR"); !windir.empty()) return windir;
    std::string prefix = environment("WINEPREFIX");
    if (prefix.empty()) {
        const std::string home = environment("HOME");
        if (home.empty()) return std::nullopt;
        prefix = home + "/.wine";
    }
    std::string windows = prefix + "/drive_c/windows";
    if (isDirectory(windows)) return windows;
    return std::nullopt;
}

}  // namespace kestal
