#include "log/CallScanWhileRead.h"

#include "log/LineMatcher.h"

namespace kestal {

namespace lm = linematch;

CallScanWhileRead::Walk::Walk(const RegionalSettings& settings)
    : walker(settings, [this](const CallRow& row) { addRow(row); }) {}

void CallScanWhileRead::Walk::line(std::string_view text) {
    const std::uint32_t texts = lm::matchLine(text);
    if ((texts & lm::LogOpened) && firstOpening == static_cast<std::size_t>(-1))
        firstOpening = lines;
    ++lines;
    walker.line(text, texts);
}

// As the scan writes a call: the first into the empty row 1, every further
// one into a new last row.
void CallScanWhileRead::Walk::addRow(const CallRow& row) {
    if (!table.cell(Column::StartTime, 1).empty()) table.setRowCount(table.rowCount() + 1);
    const int last = table.rowCount() - 1;
    table.writeRow(last, row.cells);
    if (row.corrupt) corruptRows.push_back(last);
}

CallScanWhileRead::CallScanWhileRead(const RegionalSettings& settings)
    : first_(settings), later_(settings) {}

void CallScanWhileRead::fromStart(const LineRange& lines) {
    for (std::size_t i = lines.first; i < lines.last; ++i) tail_->line(lines[i]);
}

void CallScanWhileRead::fromMiddle(const LineRange& lines) {
    for (std::size_t i = lines.first; i < lines.last; ++i) later_.line(lines[i]);
}

void CallScanWhileRead::joined(const LineRange& lines) {
    // A "log opened" line opens a call whatever came before it: the second
    // walk's calls are the log's from its first such line on. The first walk
    // goes on up to there, its last call cut short by that line; without
    // one, the first walk takes every line the second one saw, and goes on.
    const bool laterOpened = later_.firstOpening < later_.lines;
    const std::size_t stop = lines.first + (laterOpened ? later_.firstOpening : later_.lines);
    for (std::size_t i = lines.first; i < stop; ++i) first_.line(lines[i]);
    if (laterOpened) {
        first_.walker.stopAt(lines[stop]);
        tail_ = &later_;
    }
}

void CallScanWhileRead::middleDropped() { later_.table.reset(); }

void CallScanWhileRead::finish(const LogLines& lines, CallTable& table,
                               std::vector<int>& corruptRows) {
    if (!lines.empty()) tail_->walker.end(lines[lines.size() - 1]);
    table = std::move(first_.table);
    corruptRows = std::move(first_.corruptRows);
    if (tail_ == &later_) {
        // The second walk's rows go on after the first's; row 1 of an empty
        // table takes the first of them.
        const int shift = table.callCount();
        table.appendCalls(later_.table);
        for (const int row : later_.corruptRows) corruptRows.push_back(row + shift);
    }
    table.setCurrentRow(1);
    table.setCurrentColumn(0);
}

}  // namespace kestal
