// A log's lines read one at a time from an open file or pipe, with only a
// small window of its bytes in memory: for walking logs of any size in one
// pass. The lines are cut by the same rules as LogLines.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "lines/LogLines.h"

namespace kestal {

class LineStream {
public:
    struct Options {
        // Leave out every NUL byte instead of ending the text at the first.
        bool dropNulBytes = false;
        // Told after every piece read (see ReadProgress).
        ReadProgress progress;
        // Bytes asked of the system at a time; a line longer than that is
        // held whole all the same.
        std::size_t piece = std::size_t{128} << 10;
        // Read from this byte of the file on, with positioned reads that
        // leave fd where it stands (several streams may so share it); -1:
        // from where fd stands.
        std::int64_t from = -1;
        // Match each line of nextBatch() against the recognised texts;
        // without, every line's texts are 0.
        bool matchTexts = true;
    };

    // Reads fd from where it stands to its end; path only names the file in
    // a failure. fd stays open and belongs to the caller.
    LineStream(int fd, std::string path, Options options);
    LineStream(int fd, std::string path) : LineStream(fd, std::move(path), Options{}) {}
    LineStream(const LineStream&) = delete;
    LineStream& operator=(const LineStream&) = delete;

    // The next line, without its line end; false once the text has ended.
    // The line stays valid until the next call that returns true (so the
    // last line is still there after the call that returns false). Throws
    // CommandError "Cannot open file %s" when the file can't be read.
    bool next(std::string_view& line);

    // One line of a batch, with the linematch bits of the texts it holds.
    struct MatchedLine {
        std::string_view text;
        std::uint32_t texts;
        std::uint64_t start;  // as lineStart()
    };

    // The next lines with their texts, cut and matched in one pass over the
    // bytes at hand: as many as those hold, at least one unless the text
    // has ended (an empty batch). The lines stay valid until the next call
    // that returns lines. Use this or next(), not both.
    std::span<const MatchedLine> nextBatch();

    // Every byte read so far, NUL bytes and what follows the first NUL
    // included; once next() has returned false, all that the file held.
    std::uint64_t bytesRead() const { return bytesRead_; }
    // Sum over the lines handed out of length + 2 (see LogLines).
    std::uint64_t joinedLength() const { return lineBytes_ + 2 * lineCount_; }

    // Where the last line handed out starts, and where the text ended (at
    // the first NUL or at the end of the file), as byte offsets from where
    // the reading began (Options::from included). Without meaning when NUL
    // bytes are dropped.
    std::uint64_t lineStart() const { return lineStart_; }
    std::uint64_t textEnd() const { return textEnd_; }

private:
    // Reads one more piece after the bytes not yet handed out; false at the
    // end of the file.
    bool readPiece();
    // Reads what the file holds after the NUL that ended the text, only to
    // count it.
    void skipRest();
    std::string_view handOut(std::size_t end, std::size_t lineEndLength);
    // Cuts and matches the whole lines of the bytes at hand into batch_.
    void cutBatch();
    // A CR, LF or NUL at byte at: ends a line, or stops the cutting (false).
    bool batchLineEnd(std::size_t at);
    void notePair(std::size_t at);
    void addToBatch(std::size_t end, std::size_t lineEndLength);
    // Where the next read starts in the file, -1 for where fd stands.
    std::int64_t readOffset() const;
    const char* text() const { return buffers_[current_].bytes.get(); }

    // Room for bytes read. Lines are handed out of one buffer while the
    // next piece goes into the other, so that the last line handed out
    // stays where it is.
    struct Buffer {
        std::unique_ptr<char[]> bytes;
        std::size_t capacity = 0;
    };

    int fd_;
    std::string path_;
    Options options_;
    Buffer buffers_[2];
    int current_ = 0;                // the buffer lines are handed out of
    bool handedOut_ = false;         // a line was handed out of it
    std::size_t begin_ = 0;          // the first byte not handed out
    std::size_t scanned_ = 0;        // bytes from begin_ on known to hold no line end
    std::size_t end_ = 0;            // the end of the bytes read
    std::uint64_t bufferStart_ = 0;  // the offset of the current buffer's first byte
    std::uint64_t lineStart_ = 0;
    std::uint64_t textEnd_ = 0;
    std::uint64_t expected_ = 0;
    std::uint64_t bytesRead_ = 0;
    std::uint64_t lineBytes_ = 0;
    std::uint64_t lineCount_ = 0;
    std::vector<MatchedLine> batch_;
    // Where letter pairs stand in the line being cut (see LineMatcher).
    std::array<std::uint32_t, 32> pairs_{};
    std::size_t pairCount_ = 0;
    std::size_t pairedLf_ = 0;  // the LF of a CR LF pair, counted with its CR
    bool fileEnded_ = false;
    bool textEnded_ = false;
};

}  // namespace kestal
