// The pppd reader: any bytes give a table whose rows are sessions or failed
// attempts with cells of the shapes the columns promise, each row's lines in
// the log and in order, and the same table read at once or in two pieces
// with a look at the table between them (as a followed log is read) or
// checked first in batches (as a second thread checks them); the quick check
// of other programs' lines agreeing with the whole prefix reader.
#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzCheck.h"
#include "lines/LogLines.h"
#include "pppd/LinePrefix.h"
#include "pppd/LogKind.h"
#include "pppd/PppdMessages.h"
#include "pppd/PppdReader.h"
#include "pppd/QuickPrefix.h"

using namespace kestal;
using kestal::fuzz::check;

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// "-" or "MM-DD-YYYY hh:mm:ss".
bool isTimeCell(std::string_view text) {
    if (text == "-") return true;
    if (text.size() != 19) return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char expected = i == 2 || i == 5     ? '-'
                              : i == 10            ? ' '
                              : i == 13 || i == 16 ? ':'
                                                   : '0';
        if (expected == '0' ? !isDigit(text[i]) : text[i] != expected) return false;
    }
    return true;
}

// "-" or "hh:mm:ss", the hours going past 24.
bool isDurationCell(std::string_view text) {
    if (text == "-") return true;
    if (text.size() < 8 || text[text.size() - 3] != ':' || text[text.size() - 6] != ':')
        return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (i != text.size() - 3 && i != text.size() - 6 && !isDigit(text[i])) return false;
    }
    return true;
}

bool isEndedBy(std::string_view text) {
    for (const std::string_view words :
         {"echo timeout", "peer", "hangup", "stopped", "idle", "time limit", "traffic limit",
          "auth failed", "negotiation timeout", "no PADO", "connect script", "device", "still up",
          "unknown"}) {
        if (text == words) return true;
    }
    return false;
}

std::string tableText(const PppdLog& log) {
    std::string text;
    for (int row = 0; row < log.table.rowCount(); ++row) {
        for (int column = 0; column < log.table.columnCount(); ++column) {
            text += log.table.cell(column, row);
            text += '\t';
        }
        text += std::to_string(log.table.marks(row)) + '\n';
    }
    return text;
}

void checkTable(const PppdLog& log, std::size_t lineCount) {
    const int rows = log.table.callCount();
    check(rows == log.sessions + log.failedAttempts, "rows are sessions and failed attempts");
    check(log.linesNotUnderstood <= lineCount, "no more lines not understood than lines");
    for (int row = 0; row < rows; ++row) {
        const std::uint32_t marks = log.table.marks(row);
        check(((marks & kSessionMark) != 0) != ((marks & kFailedAttemptMark) != 0),
              "a row is a session or a failed attempt");
        check(isTimeCell(log.table.cell(PppdColumn::StartTime, row)), "Start Time",
              log.table.cell(PppdColumn::StartTime, row));
        check(isTimeCell(log.table.cell(PppdColumn::EndTime, row)), "End Time",
              log.table.cell(PppdColumn::EndTime, row));
        check(isDurationCell(log.table.cell(PppdColumn::Duration, row)), "Duration",
              log.table.cell(PppdColumn::Duration, row));
        check(isEndedBy(log.table.cell(PppdColumn::EndedBy, row)), "Ended By",
              log.table.cell(PppdColumn::EndedBy, row));
        const std::span<const std::uint64_t> lines = log.linesOf(row);
        for (std::size_t i = 0; i < lines.size(); ++i) {
            check(lines[i] < lineCount, "a row's line is the log's");
            check(i == 0 || lines[i - 1] < lines[i], "a row's lines in order, each once");
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input input(data, size);
    const std::uint8_t splitByte = input.byte();
    const std::string_view bytes = input.rest();
    (void)looksLikePppdLog(bytes);

    const LogLines lines = LogLines::fromBytes(std::string(bytes));
    PppdReadOptions options;
    options.newestTime = 1796731200 + static_cast<std::int64_t>(splitByte) * 86400 * 13;
    options.localMonths.local[4] = "Mai";
    const PppdLog whole = readPppdLog(lines, options);
    checkTable(whole, lines.size());

    // The hurried reader of the classic style agrees with the whole one.
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::optional<PrefixedLine> quick = readQuickly(lines[i]);
        if (!quick) continue;
        const std::optional<PrefixedLine> whole = readPrefix(lines[i], options.localMonths);
        check(whole && whole->time == quick->time, "quick prefix's time", lines[i]);
        check(whole->program == quick->program && whole->pid == quick->pid,
              "quick prefix's program", lines[i]);
        check(whole->message == quick->message, "quick prefix's message", lines[i]);
    }

    const std::size_t split = lines.empty() ? 0 : splitByte % (lines.size() + 1);
    PppdReader reader(options);
    for (std::size_t i = 0; i < split; ++i) reader.addLine(i, lines[i]);
    checkTable(reader.table(), lines.size());
    for (std::size_t i = split; i < lines.size(); ++i) reader.addLine(i, lines[i]);
    check(tableText(reader.table()) == tableText(whole), "read in two pieces as at once");

    // Checked first, as a second thread checks them, in batches of a few lines.
    PppdReader checkedReader(options);
    CheckedBatch batch;
    const std::size_t batchLines = splitByte % 5 + 1;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        batch.add(lines[i], options.localMonths);
        if (batch.size() == batchLines || i + 1 == lines.size()) {
            checkedReader.add(batch);
            const std::uint64_t next = batch.first + batch.size();
            batch.clear();
            batch.first = next;
        }
    }
    const PppdLog checked = checkedReader.finish();
    check(tableText(checked) == tableText(whole), "read checked as line by line");
    check(checked.linesNotUnderstood == whole.linesNotUnderstood, "checked: lines not understood");
    return 0;
}
