// Which file the shown lines were read from, and how far: what a later look
// at the file compares with to find out whether it grew, shrank or was
// replaced.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

namespace kestal {

struct ReadMark {
    bool known = false;  // false until a load has passed the open test
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    // Bytes of the file read into the lines (a NUL and what follows it
    // included; after a repair, the NUL bytes left out count too).
    std::uint64_t bytes = 0;
    // The line that opens the last call, once looked for; while the log
    // holds no call, a line before which none opens.
    std::optional<std::size_t> lastCallLine;
};

}  // namespace kestal
