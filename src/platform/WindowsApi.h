// The Windows calls the program was written against, as this system
// provides them. The Qt platform and the command-line tool both use these.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kestal::winapi {

// Where the Windows directory is: $WINDIR when set and not empty; otherwise
// the Wine prefix's C:\windows ($WINEPREFIX, by default $HOME/.wine, then
// drive_c/windows) when that folder exists; otherwise nothing.
std::optional<std::string> findWindowsDirectory();

// Copies directory, NUL-terminated, into buffer of size bytes and returns
// its length. When it doesn't fit (length + 1 > size) nothing is written and
// the needed size is returned, so callers testing 0 < n < size see a failure
// (0 when the needed size doesn't fit 16 bits, which is all callers read).
unsigned copyDirectory(std::string_view directory, char* buffer, unsigned size);

// findWindowsDirectory, then copyDirectory; 0 when there is none.
unsigned GetWindowsDirectoryA(char* buffer, unsigned size);

// Keeps the mode and returns the previous one; there are no critical-error
// dialogs to suppress here, a failed open already fails at once.
unsigned SetErrorMode(unsigned mode);

// Removes the file; true when it was removed.
bool DeleteFileA(const char* path);

}  // namespace kestal::winapi
