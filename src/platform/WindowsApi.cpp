#include "platform/WindowsApi.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

namespace kestal::winapi {

namespace {

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

bool isDirectory(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

unsigned processErrorMode = 0;

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

unsigned copyDirectory(std::string_view directory, char* buffer, unsigned size) {
    if (directory.empty()) return 0;
    const std::size_t needed = directory.size() + 1;
    if (needed > size) {
        // Callers test only the low 16 bits of the result; a larger size
        // would read as a short success, so it is reported as no directory.
        return needed > 0xFFFF ? 0 : static_cast<unsigned>(needed);
    }
    std::memcpy(buffer, directory.data(), directory.size());
    buffer[directory.size()] = '\0';
    return static_cast<unsigned>(directory.size());
}

unsigned copyWindowsDirectory(char* buffer, unsigned size) {
    const std::optional<std::string> directory = findWindowsDirectory();
    return directory ? copyDirectory(*directory, buffer, size) : 0;
}

unsigned setErrorMode(unsigned mode) {
    const unsigned previous = processErrorMode;
    processErrorMode = mode;
    return previous;
}

bool deleteFile(const char* path) { return path != nullptr && ::unlink(path) == 0; }

}  // namespace kestal::winapi
