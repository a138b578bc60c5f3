// Where the Windows directory is on this system: the folder the system log
// (ppplog.txt) is looked for in, under Wine or wherever $WINDIR says.
#pragma once

#include <optional>
#include <string>

namespace kestal {

// $WINDIR when set and not empty; otherwise the Wine prefix's C:\windows
// ($WINEPREFIX, by default $HOME/.wine, then drive_c/windows) when that
// folder exists; otherwise nothing.
std::optional<std::string> findWindowsDirectory();

}  // namespace kestal
