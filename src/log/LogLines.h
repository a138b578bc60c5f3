// The lines of the log file being shown. The file's bytes are kept in one
// buffer and the lines are an index of spans into it, so a gigabyte log costs
// little more than its own size.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

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
    // cut while the bytes just read are still in the cache. Throws
    // CommandError "Cannot open file %s" (path) when the file can't be read;
    // the lines are then empty.
    void assignFrom(int fd, const std::string& path);

    void clear();
    std::size_t size() const { return ends_.size(); }
    // How many bytes the lines were cut from, a NUL and what follows it
    // included: all that was read of the file.
    std::uint64_t byteCount() const { return bytes_.size(); }
    bool empty() const { return ends_.empty(); }
    std::string_view operator[](std::size_t index) const {
        const std::uint64_t start = index == 0 ? 0 : nextStart(ends_[index - 1]);
        return {bytes_.data() + start, static_cast<std::size_t>((ends_[index] >> 2) - start)};
    }

    // Sum over all lines of length + 2: the size the file would have with
    // every line, the last included, ended by CR LF.
    std::uint64_t joinedLength() const;

private:
    // The lines lie back to back in bytes_, each followed by its line end
    // (none after the last line, 1 or 2 bytes otherwise). Each line is
    // indexed by one number: where it ends, shifted left by 2, plus the
    // length of its line end. The next line starts right after that line end.
    static std::uint64_t nextStart(std::uint64_t end) { return (end >> 2) + (end & 3); }

    // Where the cutting stands, between pieces of text.
    struct Cutter {
        std::size_t scanned = 0;    // bytes looked at so far
        std::size_t lineStart = 0;  // where the line being read starts
        std::size_t pairedLf = static_cast<std::size_t>(-1);  // LF of a CR LF already counted
        bool ended = false;                                    // a NUL ended the text
    };
    // Cuts lines up to byte limit (of available bytes in bytes_).
    void cut(Cutter& cutter, std::size_t limit, std::size_t available);
    // The text after the last line end forms the last line.
    void finish(const Cutter& cutter);

    std::string bytes_;
    std::vector<std::uint64_t> ends_;
};

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

// Reads a whole file into lines (readFileBytes, then assign).
void readLogFile(const std::string& path, LogLines& lines);

// The bytes with every NUL byte left out, the rest in order.
std::string withoutNulBytes(std::string_view bytes);

}  // namespace kestal
