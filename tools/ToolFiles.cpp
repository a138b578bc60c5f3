#include "ToolFiles.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "ToolMessages.h"
#include "calls/CallStream.h"
#include "calls/CallStreamSideBySide.h"
#include "platform/Errors.h"
#include "platform/FileSystem.h"

namespace kestal::tool {

namespace {

// A log this big shows a progress bar while it loads, when standard error
// is a terminal.
constexpr std::uint64_t kProgressThreshold = std::uint64_t{64} << 20;

}  // namespace

LogInput::LogInput(const std::string& path)
    : path_(path),
      name_(logName(path)),
      opened_(path == kStandardStream ? FileDescriptor() : openFile(path)),
      fd_(path == kStandardStream ? STDIN_FILENO : opened_.get()) {
    if (fd_ < 0) throw FileError{name_, std::strerror(errno)};
    const std::optional<FileStatus> status = fileStatus(fd_);
    if (!status || status->folder) throw FileError{name_, std::strerror(status ? EISDIR : errno)};
    // A device such as /dev/zero would be read without end; a log named on
    // the command line is a file or a pipe.
    if (opened_ && !status->regular && !status->pipe) throw FileError{name_, "Not a regular file"};
    regularFile_ = status->regular;
    size_ = status->size;
    showProgress_ = regularFile_ && size_ > kProgressThreshold && ::isatty(STDERR_FILENO);
}

LogInput::LogInput(int fd, std::string name, std::uint64_t expectedBytes)
    : path_(name), name_(std::move(name)), fd_(fd), size_(expectedBytes) {
    showProgress_ = size_ > kProgressThreshold && ::isatty(STDERR_FILENO);
}

ReadProgress LogInput::startProgress(std::optional<ProgressBar>& bar) {
    if (!showProgress_) return {};
    bar.emplace(path_);
    // A stream's own size is unknown: the files' sizes stand for it.
    return [&bar, size = size_](std::uint64_t done, std::uint64_t expected) {
        bar->update(done, expected > 0 ? expected : size);
    };
}

bool LogInput::read(LineStream::Options options, const std::function<void(LineStream&)>& useLines) {
    std::optional<ProgressBar> bar;
    options.progress = startProgress(bar);
    LineStream lines(fd_, path_, std::move(options));
    try {
        useLines(lines);
        // Whatever useLines left unread still counts for the size check.
        std::string_view rest;
        while (lines.next(rest)) {
        }
    } catch (const CommandError& error) {
        throw FileError{name_, error.what()};
    }
    return lines.textEnd() >= lines.bytesRead();
}

// Dropping NUL bytes moves every line: only one reader from the start knows
// where lines begin then.
bool LogInput::walkedByOneThread(bool dropNulBytes) const {
    return dropNulBytes || !regularFile_ || !worthTwoThreads(size_);
}

bool LogInput::walkSideBySide(const std::function<StreamedSize(const ReadProgress&)>& walk) {
    std::optional<ProgressBar> bar;
    try {
        const StreamedSize sizes = walk(startProgress(bar));
        return !sizes.endedAtNul();
    } catch (const CommandError& error) {
        throw FileError{name_, error.what()};
    }
}

bool LogInput::readCalls(bool dropNulBytes, const RegionalSettings& settings,
                         const CallRowSink& sink) {
    if (walkedByOneThread(dropNulBytes))
        return read({.dropNulBytes = dropNulBytes},
                    [&](LineStream& lines) { streamCalls(lines, settings, sink); });
    return walkSideBySide([&](const ReadProgress& progress) {
        return streamCallsSideBySide(fd_, path_, settings, sink, progress);
    });
}

bool LogInput::readCalls(bool dropNulBytes, const RegionalSettings& settings,
                         const ChunkRows& rows) {
    if (walkedByOneThread(dropNulBytes)) {
        std::string text;
        return readCalls(dropNulBytes, settings, [&](const CallRow& row) {
            text.clear();
            rows.pack(row, text);
            const std::string start(row.corrupt ? row.cells[0] : std::string_view());
            rows.take({text, 1, std::span(&start, row.corrupt ? 1 : 0)});
        });
    }
    return walkSideBySide([&](const ReadProgress& progress) {
        return streamCallsSideBySide(fd_, path_, settings, rows, progress);
    });
}

Output::Output(const std::optional<std::string>& path)
    : name_(path ? *path : std::string("standard output")) {
    try {
        if (path) {
            writer_.create(*path);
        } else {
            writer_.attach(STDOUT_FILENO, name_);
        }
    } catch (const CommandError& error) {
        throw FileError{name_, error.what()};
    }
}

void Output::writeLine(std::string_view line) {
    try {
        writer_.writeLine(line);
    } catch (const CommandError& error) {
        throw FileError{name_, error.what()};
    }
}

void Output::write(std::string_view text) {
    try {
        writer_.write(text);
    } catch (const CommandError& error) {
        throw FileError{name_, error.what()};
    }
}

void Output::close() {
    try {
        writer_.close();
    } catch (const CommandError& error) {
        throw FileError{name_, error.what()};
    }
}

}  // namespace kestal::tool
