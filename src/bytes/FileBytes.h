// Reading a file's bytes to its end, whole or from where a descriptor
// stands, and what is expected of it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace kestal {

// What is left of an open file by its size, 0 when that isn't known. Only a
// hint: a file that grows meanwhile is read to its new end.
std::size_t bytesLeftIn(int fd);

// The whole content of a file, read to its end (also when it grows while
// being read). Throws CommandError "Cannot open file %s" when the file can't
// be opened or read.
std::string readFileBytes(const std::string& path);

// The rest of an open file, read from its current position to its end (the
// same rules as readFileBytes); path only names the file in the failure.
std::string readDescriptorBytes(int fd, const std::string& path);

// Told, while a file is read, how many bytes have come in so far and how
// many were left in it when the reading began (0 when that isn't known).
using ReadProgress = std::function<void(std::uint64_t done, std::uint64_t expected)>;

// The same, telling progress after every piece read (pieces of a few
// megabytes, so that a big file reports often).
std::string readDescriptorBytes(int fd, const std::string& path, const ReadProgress& progress);

// The bytes with every NUL byte left out, the rest in order.
std::string withoutNulBytes(std::string_view bytes);

}  // namespace kestal
