// The program's title, as message boxes and the error report show it.
#pragma once

#include <string>
#include <string_view>

namespace kestal {

// The executable's file name (any folder part is dropped) up to its first
// full stop, the first letter as stored and the rest in lower case:
// "/usr/bin/KESTAL.EXE" gives "KESTAL" → "Kestal", "kestal" stays "kestal".
std::string programTitle(std::string_view executable);

}  // namespace kestal
