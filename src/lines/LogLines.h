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

#include "bytes/FileBytes.h"
#include "bytes/LogBytes.h"
#include "lines/LineEnds.h"

namespace kestal {

// Lines first to last - 1 of a text, by index entries as LogLines keeps
// them (the entry before first tells where line first starts; line 0
// starts at the text's first byte).
struct LineRange {
    const char* text = nullptr;
    const LineEnds* ends = nullptr;
    std::size_t first = 0;
    std::size_t last = 0;

    // Where line index ends in text, its line end left out.
    std::size_t lineEnd(std::size_t index) const {
        return static_cast<std::size_t>((*ends)[index] >> 2);
    }
    std::string_view operator[](std::size_t index) const {
        std::uint64_t start = 0;
        if (index > 0) {
            const std::uint64_t before = (*ends)[index - 1];
            start = (before >> 2) + (before & 3);
        }
        return {text + start, static_cast<std::size_t>(lineEnd(index) - start)};
    }
};

// Told of the lines while a file is read and cut (LogLines::assignFrom), to
// work on each piece while it is still in the cache. Lines come in the order
// of the log, each once, with two exceptions: a big file is read by two
// threads, and the lines of its second part come from the second thread
// ahead of those before them.
class LineWatch {
public:
    virtual ~LineWatch() = default;
    // The next lines from the log's start on, on the thread reading it
    // (after joined: the lines past those of the second part).
    virtual void fromStart(const LineRange& lines) = 0;
    // The next lines of the log's second part, on the second thread: those
    // after its first line end past the point where that thread began.
    virtual void fromMiddle(const LineRange& lines) = 0;
    // The lines fromMiddle told are lines.first to lines.last - 1 of the
    // log, and those fromStart told end right before them.
    virtual void joined(const LineRange& lines) = 0;
    // The lines fromMiddle told are not the log's after all (the file shrank,
    // or a NUL before them ended the text): fromStart tells the log's lines
    // on from where it stood.
    virtual void middleDropped() = 0;
};

class LogLines {
public:
    LogLines() = default;
    // An index keeping each entry's distance from its group's first in
    // narrowBits bits (16 normally): a test reaches with a small log what
    // a log of long lines does.
    explicit LogLines(unsigned narrowBits) : ends_(narrowBits) {}

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
    // The same, telling watch of the lines while they are cut.
    void assignFrom(int fd, const std::string& path, LineWatch& watch);
    void assignFrom(int fd, const std::string& path, std::size_t split, LineWatch* watch);

    void clear();
    std::size_t size() const { return ends_.size(); }
    // How many bytes the lines were cut from, a NUL and what follows it
    // included: all that was read of the file.
    std::uint64_t byteCount() const { return bytes_.view().size(); }
    bool empty() const { return ends_.empty(); }
    std::string_view operator[](std::size_t index) const {
        return LineRange{bytes_.view().data(), &ends_, 0, 0}[index];
    }

    // Sum over all lines of length + 2: the size the file would have with
    // every line, the last included, ended by CR LF.
    std::uint64_t joinedLength() const;

    // All the bytes the lines were cut from.
    std::string_view bytes() const { return bytes_.view(); }
    // Waits until those bytes are the program's own copy: a big file read
    // under a read lease (see MappedBytes) is copied meanwhile, and its
    // lease let go. False when there was no memory for the copy (the lease
    // is held on).
    bool settle() { return bytes_.settle(); }
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
    // The numbers are kept in a little over two bytes each (LineEnds).
    static std::uint64_t nextStart(std::uint64_t end) { return (end >> 2) + (end & 3); }

    LogBytes bytes_;
    LineEnds ends_;
    std::uint64_t lineEndBytes_ = 0;  // the line ends of all lines together
};

// Reads a whole file into lines (readFileBytes, then assign).
void readLogFile(const std::string& path, LogLines& lines);

}  // namespace kestal
