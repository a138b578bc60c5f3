// Cutting text into lines, a piece at a time as it is read: the rules of
// LogLines, written as entries of its index.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "lines/LineEnds.h"

namespace kestal {

// Lines of this many bytes on average fill the index reserved up front.
inline constexpr std::size_t kIndexBytesPerLine = 32;

// Cuts text into lines, a piece at a time as it is read, and writes one
// index entry per line (see LogLines) into the index it is given.
class LineCutter {
public:
    // Cutting from byte from of the text on, a line starting there.
    explicit LineCutter(LineEnds& ends, std::size_t from = 0)
        : ends_(&ends), from_(from), scanned_(from), lineStart_(from) {}

    // Cuts lines up to byte limit of the text; available holds the text
    // read so far, from its first byte. A CR just before the limit may wait
    // for the byte after it, so limit stays below available's end until the
    // text is whole.
    void cut(std::size_t limit, std::string_view available);

    // The text after the last line end forms the last line; size is the
    // text's whole length.
    void finish(std::size_t size) {
        if (!ended_ && lineStart_ < size) ends_->push_back(static_cast<std::uint64_t>(size) << 2);
    }

    // Goes on with what later cut, from its byte from of the same text on,
    // at the same time as this cutter cut the bytes before from. later began
    // without knowing the text before from: whether a LF there closes a CR LF
    // pair, or whether a line a NUL ends began before it. So this cutter
    // cuts up to later's first line end after byte from itself; from there
    // on both stand at the same place, and later's lines are taken over.
    // available holds the text read so far. Returns the index the first line
    // taken over has here, kNotJoined when none was (no line end after from,
    // or a NUL ended the text first). later's index is of no use after a
    // join: its pages go back as its lines are copied.
    static constexpr std::size_t kNotJoined = static_cast<std::size_t>(-1);
    std::size_t takeOver(LineCutter& later, std::string_view available);

    // Where this cutter began.
    std::size_t startedAt() const { return from_; }

    std::uint64_t lineEndBytes() const { return lineEndBytes_; }

private:
    void addLine(std::size_t end, std::uint64_t lineEndLength) {
        ends_->push_back(static_cast<std::uint64_t>(end) << 2 | lineEndLength);
        lineEndBytes_ += lineEndLength;
    }
    // Every CR, LF or NUL of the text passes through here, in order. Returns
    // false at the first NUL, which ends the text and its line.
    bool atSpecialByte(std::size_t at, std::string_view available);

    LineEnds* ends_;
    std::uint64_t lineEndBytes_ = 0;                       // the line ends of the lines written
    std::size_t from_;                                     // where the cutting began
    std::size_t scanned_;                                  // bytes looked at so far
    std::size_t lineStart_;                                // where the line being read starts
    std::size_t pairedLf_ = static_cast<std::size_t>(-1);  // LF of a CR LF already counted
    bool ended_ = false;                                   // a NUL ended the text
};

// Makes present the pages of the index that the lines of bytes more text
// will likely take, within the room reserved.
void prepareIndex(LineEnds& ends, std::size_t bytes);

}  // namespace kestal
