// The streamed call scan of a big file by two threads: the file is cut into
// chunks that the threads walk in turn, each call going to the chunk its
// "log opened" line starts in, and the rows are handed on in the order of
// the log. Memory stays bounded: a few chunks are walked at a time, and a
// chunk's rows wait only until the chunks before it are handed on.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "log/CallRow.h"
#include "log/LogLines.h"
#include "platform/Platform.h"

namespace kestal {

// What the size check compares, for a log read in one pass.
struct StreamedSize {
    std::uint64_t bytesRead = 0;     // all the file held, past a NUL too
    std::uint64_t joinedLength = 0;  // of the lines up to the first NUL
};

inline constexpr std::size_t kStreamChunk = std::size_t{8} << 20;

// Walks the rest of the open regular file fd (from where it stands) and
// hands every call to sink on the calling thread: the same rows, in the same
// order, as streamCalls over the same bytes, the first NUL ending the text.
// progress is told as chunks are handed on; path names the file in a
// failure (CommandError "Cannot open file %s").
StreamedSize streamCallsSideBySide(int fd, const std::string& path,
                                   const RegionalSettings& settings, const CallRowSink& sink,
                                   const ReadProgress& progress = {},
                                   std::size_t chunk = kStreamChunk);

// Whether a file of size bytes is worth two threads on this machine.
bool worthTwoThreads(std::uint64_t size);

}  // namespace kestal
