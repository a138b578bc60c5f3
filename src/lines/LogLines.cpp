// The line index of a log: lines cut from bytes, appended, looked up.
#include "lines/LogLines.h"

#include "lines/LineCutter.h"
#include "platform/Errors.h"
#include "platform/FileSystem.h"

namespace kestal {

void LogLines::assign(std::string bytes) {
    ends_.clear();
    bytes_ = LogBytes(std::move(bytes));
    const std::string_view text = bytes_.view();
    // Room for lines of 32 bytes on average; pages of the index that stay
    // unused are never touched, so this costs no memory, and spares the
    // copies of a growing index.
    ends_.reserve(text.size() / kIndexBytesPerLine + 1);
    LineCutter cutter(ends_);
    cutter.cut(text.size(), text);
    cutter.finish(text.size());
    lineEndBytes_ = cutter.lineEndBytes();
}

LogLines LogLines::fromBytes(std::string bytes) {
    LogLines lines;
    lines.assign(std::move(bytes));
    return lines;
}

void LogLines::clear() {
    ends_.release();
    lineEndBytes_ = 0;
    bytes_ = LogBytes();
}

std::uint64_t LogLines::joinedLength() const {
    if (ends_.empty()) return 0;
    // The lines lie back to back from the first byte on: their lengths add
    // up to where the last one ends, less the line ends before it.
    const std::uint64_t last = ends_.back();
    const std::uint64_t lengths = (last >> 2) - (lineEndBytes_ - (last & 3));
    return lengths + 2 * std::uint64_t{ends_.size()};
}

void readLogFile(const std::string& path, LogLines& lines) {
    lines.clear();
    const FileDescriptor file = openFile(path);
    if (!file) throw cannotOpenFile(path);
    lines.assignFrom(file.get(), path);
}

bool LogLines::endsAtNul() const {
    if (ends_.empty()) return byteCount() > 0;  // empty text, or a NUL first
    const std::uint64_t last = ends_.back();
    return (last >> 2) + (last & 3) < byteCount();
}

std::size_t LogLines::append(std::string_view more) {
    if (endsAtNul()) {
        bytes_.append(more);
        return size();
    }
    // A line that no line end closed, or one closed by a CR that the new
    // bytes may pair with a LF, is cut again with them.
    std::size_t from = 0;
    if (!ends_.empty()) {
        const std::uint64_t last = ends_.back();
        const std::uint64_t lineEnd = last & 3;
        const bool open = lineEnd == 0 || (lineEnd == 1 && bytes_.view()[last >> 2] == '\r');
        from = static_cast<std::size_t>((last >> 2) + lineEnd);
        if (open) {
            ends_.pop_back();
            lineEndBytes_ -= lineEnd;
            from = ends_.empty() ? 0 : static_cast<std::size_t>(nextStart(ends_.back()));
        }
    }
    const std::size_t firstChanged = size();
    bytes_.append(more);
    const std::string_view text = bytes_.view();
    LineCutter cutter(ends_, from);
    cutter.cut(text.size(), text);
    cutter.finish(text.size());
    lineEndBytes_ += cutter.lineEndBytes();
    return firstChanged;
}

}  // namespace kestal
