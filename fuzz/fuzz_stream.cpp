// The streamed walk: any log read as a stream, in pieces of any size, with
// or without the NUL repair, gives the lines of LogLines (with the texts
// matchLine finds in each), the rows and corrupt-call warnings of the
// whole-file scan and the sizes of the size check; so does the walk of two
// threads over chunks of any size; and a call's details found in the stream
// are the lines gatherCallDetails finds.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzCheck.h"
#include "calls/CallScan.h"
#include "calls/CallStream.h"
#include "calls/CallStreamSideBySide.h"
#include "calls/LineMatcher.h"
#include "calls/LineStream.h"
#include "details/CallDetails.h"
#include "details/CallDetailsStream.h"

using namespace kestal;
using kestal::fuzz::check;

namespace {

// The bytes as a file in memory, read from its start.
class MemoryFile {
public:
    explicit MemoryFile(const std::string& bytes) : fd_(::memfd_create("log", MFD_CLOEXEC)) {
        if (fd_ < 0 ||
            ::write(fd_, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()) ||
            ::lseek(fd_, 0, SEEK_SET) != 0)
            std::abort();
    }
    ~MemoryFile() { ::close(fd_); }
    int fd() const { return fd_; }

private:
    int fd_;
};

// A call table as text, with the warnings after it.
struct Rows {
    std::string text;
    void add(const RowTexts& cells) {
        for (const std::string_view cell : cells) {
            text += cell;
            text += '\x1f';
        }
        text += '\n';
    }
    void warn(std::string_view start) {
        text += "warning ";
        text += start;
        text += '\n';
    }
};

Rows wholeFileRows(const LogLines& lines, const RegionalSettings& settings) {
    CallTable table{kDialUpColumns};
    std::vector<std::string> warnings;
    scanCalls(lines, table, settings,
              [&warnings](std::string_view start) { warnings.emplace_back(start); });
    Rows rows;
    for (int r = 0; r < table.rowCount() && table.callCount() > 0; ++r) {
        RowTexts cells;
        for (int c = 0; c < kColumnCount; ++c)
            cells[static_cast<std::size_t>(c)] = table.cell(columnAt(c), r);
        rows.add(cells);
    }
    for (const std::string& start : warnings) rows.warn(start);
    return rows;
}

// A sink that keeps the rows as text and the warnings for the end, as the
// whole-file scan tells them.
struct RowSink {
    Rows rows;
    std::vector<std::string> warnings;
    CallRowSink sink() {
        return [this](const CallRow& row) {
            rows.add(row.cells);
            if (row.corrupt) warnings.emplace_back(row.cells[0]);
        };
    }
    std::string text() {
        Rows all = rows;
        for (const std::string& start : warnings) all.warn(start);
        return all.text;
    }
};

LineStream::Options options(bool repair, std::size_t piece) {
    LineStream::Options o;
    o.dropNulBytes = repair;
    o.piece = piece;
    return o;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    kestal::fuzz::Input input(data, size);
    const std::uint8_t choice = input.byte();
    const bool repair = choice & 1;
    RegionalSettings settings;
    settings.decimalSeparator = ".,"[(choice >> 1) & 1];
    settings.timeSeparator = ":."[(choice >> 2) & 1];
    const std::size_t piece = 1 + input.byte() % 64;
    const std::size_t chunk = 1 + input.byte() % 200;
    const std::string bytes(input.rest());

    const LogLines lines = LogLines::fromBytes(repair ? withoutNulBytes(bytes) : bytes);

    {  // Lines one at a time, and in batches with their texts.
        const MemoryFile file(bytes);
        LineStream stream(file.fd(), "log", options(repair, piece));
        std::string_view line;
        std::size_t count = 0;
        while (stream.next(line)) {
            check(count < lines.size() && line == lines[count], "streamed line", line);
            ++count;
        }
        check(count == lines.size(), "streamed line count", bytes);
        check(stream.joinedLength() == lines.joinedLength(), "streamed joined length", bytes);
        check(stream.bytesRead() == bytes.size(), "streamed bytes read", bytes);
    }
    {
        const MemoryFile file(bytes);
        LineStream stream(file.fd(), "log", options(repair, piece));
        std::size_t count = 0;
        for (auto batch = stream.nextBatch(); !batch.empty(); batch = stream.nextBatch()) {
            for (const LineStream::MatchedLine& line : batch) {
                check(count < lines.size() && line.text == lines[count], "batch line", line.text);
                check(line.texts == linematch::matchLine(line.text), "batch texts", line.text);
                ++count;
            }
        }
        check(count == lines.size(), "batch line count", bytes);
        check(stream.joinedLength() == lines.joinedLength(), "batch joined length", bytes);
    }

    const std::string expected = wholeFileRows(lines, settings).text;
    {  // The call walk, one stream.
        const MemoryFile file(bytes);
        LineStream stream(file.fd(), "log", options(repair, piece));
        RowSink sink;
        streamCalls(stream, settings, sink.sink());
        check(sink.text() == expected, "streamed rows", bytes);
    }
    if (!repair) {  // Two threads, chunk after chunk.
        const MemoryFile file(bytes);
        RowSink sink;
        const StreamedSize sizes =
            streamCallsSideBySide(file.fd(), "log", settings, sink.sink(), {}, chunk);
        check(sink.text() == expected, "rows walked side by side", bytes);
        check(sizes.joinedLength == lines.joinedLength(), "side-by-side joined length", bytes);
        check(sizes.bytesRead == bytes.size(), "side-by-side bytes read", bytes);
    }
    if (!lines.empty()) {  // The details of the call that some line would open.
        const std::string start(lines[bytes.size() % lines.size()].substr(0, 19));
        const MemoryFile file(bytes);
        LineStream stream(file.fd(), "log", options(repair, piece));
        std::vector<std::string> streamed;
        streamCallDetails(stream, start, {},
                          [&streamed](std::string&& line) { streamed.push_back(std::move(line)); });
        check(streamed == gatherCallDetails(lines, start, {}), "streamed details", bytes);
    }
    return 0;
}
