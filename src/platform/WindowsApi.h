// The one file that stands in for the Windows API: the calls the program was
// written against, as this system provides them, each under a name that says
// what it does (the Windows name beside it). The Qt platform uses these.
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

// GetWindowsDirectoryA: findWindowsDirectory, then copyDirectory; 0 when
// there is none.
unsigned copyWindowsDirectory(char* buffer, unsigned size);

// SetErrorMode: keeps the mode and returns the previous one; there are no critical-error
// dialogs to suppress here, a failed open already fails at once.
unsigned setErrorMode(unsigned mode);

// DeleteFileA: removes the file; true when it was removed.
bool deleteFile(const char* path);

}  // namespace kestal::winapi
