// The streamed call scan of a big file by two threads: the file is cut into
// chunks that the threads walk in turn, each call going to the chunk its
// "log opened" line starts in, and the rows are handed on in the order of
// the log. Memory stays bounded: a few chunks are walked at a time, and a
// chunk's rows wait only until the chunks before it are handed on.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "calls/CallRow.h"
#include "lines/LogLines.h"
#include "platform/RegionalSettings.h"

namespace kestal {

// What the size check compares, for a log read in one pass.
struct StreamedSize {
    std::uint64_t bytesRead = 0;     // all the file held, past a NUL too
    std::uint64_t joinedLength = 0;  // of the lines up to the first NUL
    std::uint64_t textEnd = 0;       // where the text ended: at the first NUL or the file's end

    // A NUL byte ended the text before the file's end.
    bool endedAtNul() const { return textEnd < bytesRead; }
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

// One chunk's calls as the calling thread gets them, in the order of the log.
struct WalkedChunk {
    std::string_view text;  // what RowPacker made of each of its calls, back to back
    std::size_t calls = 0;
    // The start texts of its calls whose start or end time can't be read.
    std::span<const std::string> corruptStarts;
};

// For walks whose work on each row can be done on the walkers' threads (an
// output line made, say): pack appends what a row gives to its chunk's text,
// on the thread that walked the call; take gets each chunk on the calling
// thread, in turn.
struct ChunkRows {
    std::function<void(const CallRow& row, std::string& text)> pack;
    std::function<void(const WalkedChunk& chunk)> take;
    // Whether pack reads the rows' values (the filter does; the lines
    // alone don't): rows without them are made faster.
    bool values = true;
};

// streamCallsSideBySide, with the rows packed by the walkers.
StreamedSize streamCallsSideBySide(int fd, const std::string& path,
                                   const RegionalSettings& settings, const ChunkRows& rows,
                                   const ReadProgress& progress = {},
                                   std::size_t chunk = kStreamChunk);

// Whether a file of size bytes is worth two threads on this machine.
bool worthTwoThreads(std::uint64_t size);

}  // namespace kestal
