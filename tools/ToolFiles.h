// The log kestal-calls reads and the output it writes.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "calls/CallRow.h"
#include "calls/CallStreamSideBySide.h"
#include "calls/LineStream.h"
#include "platform/FileDescriptor.h"
#include "platform/TextFile.h"

namespace kestal::tool {

class ProgressBar;

// The log ("-": standard input), open and checked, read as a stream of
// lines. It is opened here rather than by name in the library so that a
// missing or unreadable file is reported with the system's reason.
class LogInput {
public:
    // Throws FileError when the log can't be opened or is no file or pipe.
    explicit LogInput(const std::string& path);
    // A stream that isn't a file (the joined logs), named name in messages;
    // expectedBytes (0: unknown) sizes the progress bar.
    LogInput(int fd, std::string name, std::uint64_t expectedBytes = 0);
    LogInput(const LogInput&) = delete;
    LogInput& operator=(const LogInput&) = delete;

    // Reads the whole log in one pass through useLines, which takes lines
    // from the stream to its end. A big file shows a progress bar while it
    // is read, when standard error is a terminal. A failed read becomes a
    // FileError naming the log. Returns whether the text reached the
    // file's end (no NUL byte ended it before).
    // options say how the lines are cut; the progress is the log's own.
    bool read(LineStream::Options options, const std::function<void(LineStream&)>& useLines);

    // The same for the call scan, handing each call to sink: a big file is
    // walked by two threads at once (when there are two processors).
    bool readCalls(bool dropNulBytes, const RegionalSettings& settings, const CallRowSink& sink);
    // The same with the rows packed on the walking threads (see ChunkRows);
    // a log walked by one thread is taken a call at a time.
    bool readCalls(bool dropNulBytes, const RegionalSettings& settings, const ChunkRows& rows);

    const std::string& name() const { return name_; }

private:
    std::string path_;
    std::string name_;
    bool walkedByOneThread(bool dropNulBytes) const;
    // Runs walk with the progress bar, when one is due; whether the text
    // reached the file's end.
    bool walkSideBySide(const std::function<StreamedSize(const ReadProgress&)>& walk);
    // Starts the progress bar when one is due, and tells what is to tell it.
    ReadProgress startProgress(std::optional<ProgressBar>& bar);

    FileDescriptor opened_;  // empty for standard input, which isn't ours to close
    int fd_ = -1;
    bool regularFile_ = false;
    std::uint64_t size_ = 0;
    bool showProgress_ = false;
};

// Where the output goes: OUTFILE, created or emptied, or standard output.
// Failures become FileErrors naming it.
class Output {
public:
    explicit Output(const std::optional<std::string>& path);
    void writeLine(std::string_view line);
    void write(std::string_view text);
    // Everything written reaches the file.
    void close();
    TextFileWriter& writer() { return writer_; }
    const std::string& name() const { return name_; }

private:
    std::string name_;
    TextFileWriter writer_;
};

}  // namespace kestal::tool
