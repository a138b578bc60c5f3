#include "pppd/PppdReader.h"

#include <algorithm>

#include "pppd/PppdReaderState.h"
#include "pppd/PppdTable.h"
#include "pppd/QuickPrefix.h"

namespace kestal {

using namespace reading;

void PppdReader::State::addLine(std::uint64_t index, std::string_view text) {
    if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
    if (QuickLine quick; readQuickly(text, quick)) {
        // Most lines of a system log are other programs': they are only
        // noted for their time.
        if (mode == Mode::Prefixed && quick.isOthers()) {
            skipLine(quick.time);
        } else {
            addPrefixed(index, quick.prefixed());
        }
        return;
    }
    if (const std::optional<PrefixedLine> prefixed =
            readPrefix(text, options.localMonths, decoded)) {
        addPrefixed(index, *prefixed);
        return;
    }
    addUnprefixed(index, text);
}

void PppdReader::State::addPrefixed(std::uint64_t index, const PrefixedLine& line) {
    if (mode != Mode::Prefixed) {
        if (mode == Mode::Unknown) read.notUnderstood += unknownCount;
        mode = Mode::Prefixed;
    }
    readPrefixed(index, line);
}

void PppdReader::State::addUnprefixed(std::uint64_t index, std::string_view text) {
    if (mode == Mode::Prefixed) {
        if (held != Held::None && looksLikeContinuation(text)) {
            // A line wrapped by whoever copied the log: its rest, no prefix.
            heldLine.last = index;
            if (held != Held::Skipped) {
                if (!heldLine.message.empty() && heldLine.message.back() != ' ') {
                    heldLine.message += ' ';
                }
                heldLine.message += text;
            }
            return;
        }
        flushHeld();
        if (!trimmedEnd(text).empty()) ++read.notUnderstood;
        return;
    }
    readBare(index, text);
}

void PppdReader::State::skipLine(const PrintedTime& time) {
    flushHeld();
    noteDate(time);
    if (!maybeCopies.empty() &&
        secondOf(Stamp{time, yearStep}) != secondOf(maybeCopies.front().time)) {
        flushCopies();
    }
    held = Held::Skipped;
}

// The whole reader would take such a line as the first of a prefixed log,
// had none come before.
void PppdReader::State::passOver(const PrintedTime& time) {
    if (mode != Mode::Prefixed) {
        if (mode == Mode::Unknown) read.notUnderstood += unknownCount;
        mode = Mode::Prefixed;
    }
    skipLine(time);
}

void PppdReader::State::readBare(std::uint64_t index, std::string_view text) {
    const std::string_view message = trimmedEnd(withoutEcho(text));
    if (mode == Mode::Unknown) {
        if (readMessage(message).kind == PppdMessage::Other) {
            // Not known yet whether the log is pppd's own output.
            if (unknownEnd == 0 && unknownCount == 0) unknownFirst = index;
            unknownEnd = index + 1;
            if (!message.empty()) ++unknownCount;
            return;
        }
        mode = Mode::Bare;
        Process& p = process(-1);
        for (std::uint64_t i = unknownFirst; i < unknownEnd; ++i) {
            addPending(p, Logical{i, i, std::nullopt, std::nullopt, {}});
        }
        unknownCount = 0;
    }
    pppdLine(Logical{index, index, std::nullopt, std::nullopt, std::string(message)});
}

void PppdReader::State::noteDate(const PrintedTime& time) {
    if (time.year == 0) {
        // December, then January: the next year.
        if (lastMonth != 0 && time.month < lastMonth - 6) ++yearStep;
        lastMonth = time.month;
        read.lastYearless = Stamp{time, yearStep};
    }
    read.lastDated = Stamp{time, time.year == 0 ? yearStep : 0};
    if (!read.firstDated) read.firstDated = read.lastDated;
}

void PppdReader::State::readPrefixed(std::uint64_t index, const PrefixedLine& line) {
    flushHeld();
    std::optional<Stamp> time;
    if (line.time) {
        noteDate(*line.time);
        time = Stamp{*line.time, line.time->year == 0 ? yearStep : 0};
    }
    if (!maybeCopies.empty() && secondOf(time) != secondOf(maybeCopies.front().time)) {
        flushCopies();
    }
    heldLine.first = heldLine.last = index;
    heldLine.time = time;
    heldLine.pid = line.pid;
    if (line.program == "pppd") {
        held = Held::Pppd;
    } else if (line.program == "chat") {
        held = Held::Chat;
    } else if (readMessage(withoutEcho(line.message)).kind != PppdMessage::Other) {
        held = Held::Copy;
    } else {
        held = Held::Skipped;
        return;
    }
    heldLine.message.assign(line.message);
}

void PppdReader::State::flushHeld() {
    const Held kind = held;
    held = Held::None;
    if (kind == Held::None || kind == Held::Skipped) return;
    const std::string_view message = trimmedEnd(withoutEcho(heldLine.message));
    if (message.size() != heldLine.message.size()) heldLine.message = std::string(message);
    switch (kind) {
        case Held::Pppd:
            pppdLine(heldLine);
            break;
        case Held::Chat:
            chatLine(heldLine);
            break;
        case Held::Copy:
            maybeCopy(heldLine);
            break;
        default:
            break;
    }
}

void PppdReader::State::flushCopies() {
    std::vector<Logical> copies;
    copies.swap(maybeCopies);
    for (const Logical& line : copies) pppdLine(line);
}

void PppdReader::State::maybeCopy(Logical line) {
    // A program that copies pppd's output (a shell under systemd running
    // pppd nodetach) writes what pppd wrote, in the same second.
    if (secondOf(line.time) == pppdSecond && pppdMessages.holds(line.message)) {
        return;
    }
    maybeCopies.push_back(std::move(line));
}

void PppdReader::State::chatLine(const Logical& line) {
    if (!lastPppd || !options.keepLines) return;
    Process& p = process(*lastPppd);
    if (p.session) {
        RowFacts& session = read.open.at(*p.session);
        addLines(session.lines, line);
        session.lastLine = line.last;
    } else {
        addLines(p.pendingLines, line);
    }
}

PppdReader::PppdReader(PppdReadOptions options) : state_(std::make_unique<State>()) {
    state_->options = std::move(options);
}
PppdReader::~PppdReader() = default;
PppdReader::PppdReader(PppdReader&&) noexcept = default;
PppdReader& PppdReader::operator=(PppdReader&&) noexcept = default;

void PppdReader::add(const LineRange& lines) {
    for (std::size_t i = lines.first; i < lines.last; ++i) state_->addLine(i, lines[i]);
}

void PppdReader::addLine(std::uint64_t index, std::string_view text) {
    state_->addLine(index, text);
}

void PppdReader::add(const CheckedBatch& lines) {
    std::size_t from = 0;
    const std::uint32_t* check = lines.checks.data();
    const PrefixRead* prefix = lines.prefixes.data();
    const std::size_t* end = lines.ends.data();
    const std::uint64_t last = lines.first + lines.checks.size();
    // Other programs' lines come in runs of the same second; passing over
    // the second of a run again changes nothing.
    std::uint32_t passed = 0;
    for (std::uint64_t index = lines.first; index < last; ++index, ++check) {
        if (*check != 0) {
            if (*check != passed) state_->passOver(checkedTime(*check));
            passed = *check;
            continue;
        }
        passed = 0;
        const std::string_view text = std::string_view(lines.text).substr(from, *end - from);
        from = *end++;
        const PrefixRead& read = *prefix++;
        if (read.source == LineSource::Unprefixed) {
            state_->addUnprefixed(index, text);
            continue;
        }
        // The program's name only tells pppd's and chat's lines from others'.
        const std::string_view program = read.source == LineSource::Pppd   ? "pppd"
                                         : read.source == LineSource::Chat ? "chat"
                                                                           : "";
        state_->addPrefixed(index, PrefixedLine{read.time, program, read.pid, text});
    }
}

void PppdReader::addAll(const LogLines& lines) {
    if (!worthCheckingApart(lines.size())) {
        for (std::size_t i = 0; i < lines.size(); ++i) state_->addLine(i, lines[i]);
        return;
    }
    const MonthNames& months = state_->options.localMonths;
    checkLinesApart(
        lines.size(),
        [&lines, &months](CheckedBatch& batch, std::uint64_t first, std::uint64_t last) {
            for (std::uint64_t i = first; i < last; ++i) batch.add(lines[i], months);
        },
        [this](const CheckedBatch& batch) { add(batch); });
}

void PppdReader::addChecked(const std::function<void(CheckedLineSink&)>& produce) {
    readCheckedLines(
        produce, [this](const CheckedBatch& batch) { add(batch); }, state_->options.localMonths);
}

PppdLog PppdReader::table() const {
    // What is held back (a line that may go on in the next, copies not yet
    // known to be copies) counts as read: on a copy, so reading goes on.
    State done = *state_;
    done.finish();
    if (done.mode == State::Mode::Unknown) done.read.notUnderstood += done.unknownCount;
    return makePppdLog(std::move(done.read), state_->options);
}

PppdReader::State PppdReader::takeEndOfLog() {
    State done = std::move(*state_);
    done.finish();
    if (done.mode == State::Mode::Unknown) done.read.notUnderstood += done.unknownCount;
    state_ = std::make_unique<State>();
    state_->options = done.options;
    return done;
}

PppdLog PppdReader::finish() {
    State done = takeEndOfLog();
    return makePppdLog(std::move(done.read), done.options);
}

std::uint64_t PppdReader::finish(const PppdRowSink& sink) {
    const State done = takeEndOfLog();
    forEachPppdRow(done.read, done.options, sink);
    return done.read.notUnderstood;
}

std::span<const std::uint64_t> PppdLog::linesOf(int row) const {
    if (row < 0 || static_cast<std::size_t>(row) >= rowLines.size()) return {};
    return rowLines[static_cast<std::size_t>(row)];
}

PppdLog readPppdLog(const LogLines& lines, const PppdReadOptions& options) {
    PppdReader reader(options);
    reader.addAll(lines);
    return reader.finish();
}

}  // namespace kestal
