// The lines of the log file being shown: the line index. The file's bytes
// are kept in one buffer (LogBytes.h) and the lines are an index of spans
// into it, so a gigabyte log costs little more than its own size. Cutting
// lies in LineCutter.h, reading a file in FileBytes.h and, two threads at
// once, in LogLinesFromFile.cpp.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "log/FileBytes.h"
#include "log/LogBytes.h"

namespace kestal {

class LogLines {
public:
    LogLines() = default;

    // Takes a file's bytes and cuts them into lines:
    // - a line ends at CR, at LF, or at the pair CR LF (one line end); LF CR
    //   is two line ends with an empty line between them;
    // - the first NUL byte ends the text, and the line it stands in;
    // - a line end at the very end adds no empty line after it;
    // - empty text, or text starting with NUL, gives no lines.
    void assign(std::string bytes);
    static LogLines fromBytes(std::string bytes);
    // The same for the rest of an open file, read to its end: the lines are
    // cut while the bytes just read are still in the cache. The bytes are
    // kept in MappedBytes. A big regular file is read and cut by two threads
    // at once, one from its start and one from its middle. Throws
    // CommandError "Cannot open file %s" (path) when the file can't be read;
    // the lines are then empty.
    void assignFrom(int fd, const std::string& path);
    // The same, with the second thread starting split bytes into what is
    // left of the file (0: one thread reads it all). The lines come out the
    // same wherever the split falls.
    void assignFrom(int fd, const std::string& path, std::size_t split);

    void clear();
    std::size_t size() const { return ends_.size(); }
    // How many bytes the lines were cut from, a NUL and what follows it
    // included: all that was read of the file.
    std::uint64_t byteCount() const { return bytes_.view().size(); }
    bool empty() const { return ends_.empty(); }
    std::string_view operator[](std::size_t index) const {
        const std::uint64_t start = index == 0 ? 0 : nextStart(ends_[index - 1]);
        return {bytes_.view().data() + start,
                static_cast<std::size_t>((ends_[index] >> 2) - start)};
    }

    // Sum over all lines of length + 2: the size the file would have with
    // every line, the last included, ended by CR LF.
    std::uint64_t joinedLength() const;

    // All the bytes the lines were cut from.
    std::string_view bytes() const { return bytes_.view(); }
    // True when a NUL byte ended the text before its last byte.
    bool endsAtNul() const;
    // Adds bytes that followed the text, as if they had been there when it
    // was cut: a last line without a line end (or ended by a CR that a LF
    // may yet follow) goes on. Text that a NUL ended takes no more lines.
    // Returns the index of the first line that changed or was added.
    std::size_t append(std::string_view more);

private:
    // The lines lie back to back in bytes_, each followed by its line end
    // (none after the last line, 1 or 2 bytes otherwise). Each line is
    // indexed by one number: where it ends, shifted left by 2, plus the
    // length of its line end. The next line starts right after that line end.
    static std::uint64_t nextStart(std::uint64_t end) { return (end >> 2) + (end & 3); }

    LogBytes bytes_;
    std::vector<std::uint64_t> ends_;
    std::uint64_t lineEndBytes_ = 0;  // the line ends of all lines together
};

// Reads a whole file into lines (readFileBytes, then assign).
void readLogFile(const std::string& path, LogLines& lines);

}  // namespace kestal
