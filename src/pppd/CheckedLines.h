// A log's lines handed from the thread that reads them to the pppd reader
// on another. Most lines of a system log are other programs': the reading
// thread tells those by the quick check of their prefix (readQuickly), so
// that the reader only notes their time; of the rest it reads the prefix,
// for the reader to go on from there.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "pppd/LinePrefix.h"
#include "pppd/MonthNames.h"

namespace kestal {

// The quick check of one line (without its line end): 0 when the reader
// must read it whole, else the printed time of another program's line that
// it passes over, packed (see checkedTime).
std::uint32_t checkLine(std::string_view line);
PrintedTime checkedTime(std::uint32_t check);

// What the reading thread found of a line the quick check could not pass
// over: its prefix read, or none.
enum class LineSource : std::uint8_t {
    Unprefixed,  // no prefix: its text is the whole line
    Pppd,        // pppd's, chat's: its text is the message
    Chat,
    Copy,   // another program's that says what pppd says: its text is the message
    Other,  // another program's, nothing of pppd's: no text
};

struct PrefixRead {
    LineSource source = LineSource::Unprefixed;
    std::optional<PrintedTime> time;
    std::optional<long> pid;
};

// Lines of the log in order, checked.
struct CheckedBatch {
    std::uint64_t first = 0;            // the log's index of the first line
    std::vector<std::uint32_t> checks;  // one per line
    // Of each line whose check is 0, in order: its prefix, and its text
    // (one after another in text, each ending where ends says).
    std::vector<PrefixRead> prefixes;
    std::string text;
    std::vector<std::size_t> ends;

    // The next line, without its line end.
    void add(std::string_view line, const MonthNames& months);
    std::size_t size() const { return checks.size(); }
    void clear();

private:
    std::string decoded_;  // a JSON line's message, decoded
};
// Where the reading thread puts each line.
class CheckedLineSink {
public:
    virtual ~CheckedLineSink() = default;
    virtual void add(std::string_view line) = 0;
};

// Runs produce on a thread of its own, which puts the log's lines into the
// sink it is given, while consume takes them, checked (dates read with
// months), a batch at a time and in order on the calling thread. Returns
// once both are done; what either throws is thrown here (the other then
// stops).
void readCheckedLines(const std::function<void(CheckedLineSink&)>& produce,
                      const std::function<void(const CheckedBatch&)>& consume,
                      const MonthNames& months = {});

// The lines 0 to count - 1 of a log held whole, checked on threads of
// their own (two when there are more than two processors, else one): check
// puts lines first to last - 1 into the batch it is given, consume takes
// the batches in order on the calling thread. What either throws is thrown
// here once every thread has stopped.
void checkLinesApart(
    std::uint64_t count,
    const std::function<void(CheckedBatch& batch, std::uint64_t first, std::uint64_t last)>& check,
    const std::function<void(const CheckedBatch&)>& consume);

// Whether the lines are worth a second thread: a log of at least this many
// lines, on a machine with two processors or more.
bool worthCheckingApart(std::uint64_t lines);

}  // namespace kestal
