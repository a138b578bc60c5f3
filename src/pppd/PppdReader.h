// The pppd log read into sessions and failed attempts, per process: the
// reader is fed the log's lines in order, in pieces as they are read (or
// followed), and gives the table of what it has read at any moment.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include "lines/LogLines.h"
#include "pppd/CheckedLines.h"
#include "pppd/MonthNames.h"
#include "pppd/PppdColumns.h"
#include "table/CallTable.h"

namespace kestal {

struct PppdReadOptions {
    // The newest the log's clock can have been: the file's modification
    // time (standard input: now), seconds since the epoch. A date printed
    // without its year takes the year that puts the log's last dated line
    // at or before it.
    std::int64_t newestTime = 0;
    MonthNames localMonths;
    // Keep each row's lines (for Show Call Details); a reader that needs
    // only the table saves the memory.
    bool keepLines = true;
};

// What a pppd log holds, read so far.
struct PppdLog {
    CallTable table{kPppdColumns};
    // The lines of each row (table row r), indexes into the log's lines in
    // order: the process's lines and the chat lines among them.
    std::vector<std::vector<std::uint64_t>> rowLines;
    std::uint64_t linesNotUnderstood = 0;
    int sessions = 0;
    int failedAttempts = 0;
    // The log's first and last dated lines, any program's.
    LogSpan span;

    std::span<const std::uint64_t> linesOf(int row) const;
};

// A row as the table shows it, and its lines (kept when the reader keeps
// lines; the sink may take them).
using PppdRowSink = std::function<void(const BuiltRow& row, std::vector<std::uint64_t>& lines)>;

class PppdReader {
public:
    explicit PppdReader(PppdReadOptions options);
    ~PppdReader();
    PppdReader(PppdReader&&) noexcept;
    PppdReader& operator=(PppdReader&&) noexcept;

    // The next lines of the log (lines.first to lines.last - 1), right after
    // those fed before.
    void add(const LineRange& lines);
    // The next line, line index of the log.
    void addLine(std::uint64_t index, std::string_view text);
    // The next lines, checked on the thread that read them (see
    // CheckedLines.h).
    void add(const CheckedBatch& lines);
    // All the lines of a log at once (a big log checked on a second thread
    // while this one reads).
    void addAll(const LogLines& lines);
    // The lines produce puts into its sink, on a thread of its own that
    // checks them while this one reads them.
    void addChecked(const std::function<void(CheckedLineSink&)>& produce);

    // The table of what was read so far: rows in log order, a session still
    // open as still up. Reading can go on afterwards.
    PppdLog table() const;
    // The same at the end of the log, without the copy table() makes: the
    // reader is left empty.
    PppdLog finish();
    // The end of the log without a table: each row handed to sink in log
    // order, for a reader that writes rows and forgets them. Gives the
    // count of lines not understood; the reader is left empty.
    std::uint64_t finish(const PppdRowSink& sink);

private:
    struct State;
    // The reader's state at the end of the log; the reader is left empty.
    State takeEndOfLog();
    std::unique_ptr<State> state_;
};

// A whole log read at once.
PppdLog readPppdLog(const LogLines& lines, const PppdReadOptions& options);

}  // namespace kestal
