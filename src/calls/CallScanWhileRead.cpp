#include "calls/CallScanWhileRead.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "calls/LineMatcher.h"
#include "lines/ByteMasks.h"

namespace kestal {

namespace lm = linematch;

namespace {

std::size_t lineStart(const LineRange& lines, std::size_t index) {
    return lines.lineEnd(index) - lines[index].size();
}

// Calls visit(index, line, texts) for each of lines that holds a recognised
// text, in order, texts being its linematch bits. The letter pairs the texts
// hold are looked for over the lines' bytes whole, up to 64 steps of 64 bytes
// at a time, rather than line by line: a pair never spans a line end.
template <typename Visit>
void forEachMatchedLine(const LineRange& lines, Visit visit) {
    if (lines.first >= lines.last) return;
    const LineEnds& ends = *lines.ends;
    const std::size_t end = lines.lineEnd(lines.last - 1);
    // The line the pairs stand in: its index entry, where it starts and ends.
    std::size_t line = lines.first;
    std::uint64_t entry = ends[line];
    std::size_t start = lineStart(lines, line);
    std::size_t stop = static_cast<std::size_t>(entry >> 2);
    std::uint32_t texts = 0;  // those found so far in line
    const auto text = [&] { return std::string_view(lines.text + start, stop - start); };
    const auto pairAt = [&](std::size_t pos) {
        while (stop <= pos) {
            if (texts != 0) visit(line, text(), texts);
            texts = 0;
            start = stop + static_cast<std::size_t>(entry & 3);
            entry = ends[++line];
            stop = static_cast<std::size_t>(entry >> 2);
        }
        if (pos >= start) texts |= lm::textsAtPair(text(), pos - start);
    };
    const auto pairsOf = [&](std::size_t at, const std::uint64_t* masks, std::size_t steps) {
        for (std::size_t step = 0; step < steps; ++step)
            for (std::uint64_t bits = masks[step]; bits != 0; bits &= bits - 1)
                pairAt(at + step * kMaskStep + static_cast<std::size_t>(__builtin_ctzll(bits)));
    };
    constexpr std::size_t kSteps = 64;
    std::array<std::uint64_t, kSteps> masks;
    std::size_t at = lineStart(lines, lines.first);
    // A step reads the byte after it too, which must be the lines' own.
    while (end - at > kMaskStep) {
        const std::size_t steps = std::min(kSteps, (end - at - 1) / kMaskStep);
        findByteMasks(lines.text + at, steps, nullptr, masks.data());
        pairsOf(at, masks.data(), steps);
        at += steps * kMaskStep;
    }
    if (at < end) {
        // The last bytes: a zero-padded copy (no pair holds a NUL).
        std::array<char, kMaskStep + 1> padded{};
        std::memcpy(padded.data(), lines.text + at, end - at);
        findByteMasks(padded.data(), 1, nullptr, masks.data());
        pairsOf(at, masks.data(), 1);
    }
    if (texts != 0) visit(line, text(), texts);
}

}  // namespace

CallScanWhileRead::Walk::Walk(const RegionalSettings& settings)
    : walker(settings, [this](const CallRow& row) { addRow(row); }) {}

void CallScanWhileRead::Walk::walk(const LineRange& range) {
    forEachMatchedLine(
        range, [this, &range](std::size_t index, std::string_view line, std::uint32_t texts) {
            if ((texts & lm::LogOpened) && firstOpening == static_cast<std::size_t>(-1))
                firstOpening = lines + (index - range.first);
            walker.line(line, texts, lines + (index - range.first));
        });
    walker.holdCallAtHand();
    lines += range.last - range.first;
}

// Each call where the scan writes it (see CallTable::addCall).
void CallScanWhileRead::Walk::addRow(const CallRow& row) {
    const int added = table.addCall(row.built());
    if (row.corrupt) corruptRows.push_back(added);
}

CallScanWhileRead::CallScanWhileRead(const RegionalSettings& settings, std::uint64_t expectedBytes)
    : first_(settings), later_(settings) {
    // Room for every call of the log in the first walk's table, calls of
    // 512 bytes on average (pages never used cost nothing): the second
    // walk's rows join it without moving the first's. The second walk
    // reads about half the log.
    constexpr std::uint64_t kBytesPerCall = 512;
    first_.table.reserveCalls(static_cast<std::size_t>(expectedBytes / kBytesPerCall));
    later_.table.reserveCalls(static_cast<std::size_t>(expectedBytes / 2 / kBytesPerCall));
}

void CallScanWhileRead::fromStart(const LineRange& lines) { tail_->walk(lines); }

void CallScanWhileRead::fromMiddle(const LineRange& lines) { later_.walk(lines); }

void CallScanWhileRead::joined(const LineRange& lines) {
    // A "log opened" line opens a call whatever came before it: the second
    // walk's calls are the log's from its first such line on. The first walk
    // goes on up to there, its last call cut short by that line; without
    // one, the first walk takes every line the second one saw, and goes on.
    const bool laterOpened = later_.firstOpening < later_.lines;
    const std::size_t stop = lines.first + (laterOpened ? later_.firstOpening : later_.lines);
    first_.walk({lines.text, lines.ends, lines.first, stop});
    laterStart_ = lines.first;
    if (laterOpened) {
        first_.walker.stopAt(lines[stop], stop);
        tail_ = &later_;
    }
}

void CallScanWhileRead::middleDropped() { later_.table.reset(); }

void CallScanWhileRead::finish(const LogLines& lines, CallTable& table,
                               std::vector<int>& corruptRows) {
    // Each walk counts its lines from where it began: the second from the
    // middle part's first line.
    if (!lines.empty()) {
        const std::size_t begun = tail_ == &later_ ? laterStart_ : 0;
        tail_->walker.end(lines[lines.size() - 1], lines.size() - 1 - begun);
    }
    table = std::move(first_.table);
    corruptRows = std::move(first_.corruptRows);
    if (tail_ == &later_) {
        // The second walk's rows go on after the first's; row 0 of an empty
        // table takes the first of them.
        const int shift = table.callCount();
        later_.table.shiftLines(laterStart_);
        table.appendCalls(std::move(later_.table));
        for (const int row : later_.corruptRows) corruptRows.push_back(row + shift);
    }
    table.setCurrentRow(0);
    table.setCurrentColumn(0);
}

}  // namespace kestal
