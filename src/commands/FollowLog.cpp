// Following a shown log: a look at the file, and the bytes it gained.
#include "commands/FollowLog.h"

#include <algorithm>
#include <string>
#include <vector>

#include "calls/CallScan.h"
#include "calls/LineMatcher.h"
#include "commands/Messages.h"
#include "platform/FileSystem.h"

namespace kestal {

namespace {

// The bytes just before the end read last are read again and compared with
// the lines: a file cut and written anew between two looks, to more than it
// held, must not pass for one that grew.
constexpr std::uint64_t kSeamBytes = 4096;
constexpr std::size_t kReadPiece = std::size_t{1} << 20;

bool sameFile(const FileStatus& status, const ReadMark& mark) {
    return status.device == mark.device && status.inode == mark.inode;
}

// The rest of the file from offset on, to its end as it is while read.
// False when it can't be read.
bool readFrom(int fd, std::uint64_t offset, std::string& bytes,
              const std::function<void()>& afterRead) {
    for (;;) {
        const std::size_t used = bytes.size();
        bytes.resize(used + kReadPiece);
        const ssize_t got =
            readSome(fd, bytes.data() + used, kReadPiece, static_cast<off_t>(offset + used));
        bytes.resize(used + static_cast<std::size_t>(std::max<ssize_t>(got, 0)));
        if (got < 0) return false;
        if (got == 0) return true;
        if (afterRead) afterRead();
    }
}

// The line that opens the last call, looked for from the end back.
std::size_t lastCallLine(const LogLines& lines, std::size_t stop) {
    for (std::size_t i = lines.size(); i-- > stop;)
        if (linematch::matchLine(lines[i]) & linematch::LogOpened) return i;
    return stop;
}

// A followed pppd log's reader goes on from the lines it was given; when the
// last of them went on (it had no line end yet) the reader starts afresh.
// The whole table comes as the growth: an earlier session may have ended.
void readPppdGrowth(LogState& state, std::size_t firstChanged, LogGrowth& growth) {
    PppdShown& pppd = *state.pppd;
    if (firstChanged < pppd.linesRead) {
        pppd.reader = PppdReader(pppd.options);
        pppd.reader.addAll(state.lines);
    } else {
        for (std::size_t line = pppd.linesRead; line < state.lines.size(); ++line)
            pppd.reader.addLine(line, state.lines[line]);
    }
    pppd.linesRead = state.lines.size();
    PppdLog read = pppd.reader.table();
    growth.firstRow = 0;
    growth.calls = std::move(read.table);
    growth.rowLines = std::move(read.rowLines);
    growth.linesNotUnderstood = read.linesNotUnderstood;
    growth.span = read.span;
}

// A followed journal's new entries, added to the lines as a grown log's bytes
// are.
LogChange readJournalGrowth(LogState& state, LogGrowth& growth) {
    JournalLines* journal = state.journal->lines.get();
    if (journal == nullptr || !state.pppd) return LogChange::None;
    std::string text;
    if (journal->readNew(text) == 0) return LogChange::None;
    readPppdGrowth(state, state.lines.append(text), growth);
    return LogChange::Grew;
}

}  // namespace

void LogFollower::start() {
    corruptBefore_ = 0;
    lastCorrupt_ = false;
    rewritten_.reset();
}

void LogFollower::readWhole(int corruptCalls) {
    corruptBefore_ = corruptCalls;
    lastCorrupt_ = false;
}

LogChange LogFollower::look(LogState& state, const RegionalSettings& settings, LogGrowth& growth) {
    // The journal's library follows its files through rotation itself.
    if (state.journal) return readJournalGrowth(state, growth);
    // No file there (rotated away, say): wait for the next one.
    const std::optional<FileStatus> status =
        state.logPath.empty() ? std::nullopt : pathStatus(state.logPath);
    if (!status || !status->regular) return LogChange::None;
    const ReadMark& mark = state.readMark;
    const std::uint64_t size = status->size;
    if (mark.known && sameFile(*status, mark) && size >= mark.bytes) {
        if (size == mark.bytes || state.lines.endsAtNul()) return LogChange::None;
        const LogChange change = grow(state, settings, growth);
        if (change != LogChange::Rewritten) return change;
    }
    const FileLook now{status->device, status->inode, size, status->modifiedNanoseconds};
    if (!mark.known && rewritten_ == now) return LogChange::None;
    rewritten_ = now;
    return LogChange::Rewritten;
}

LogChange LogFollower::grow(LogState& state, const RegionalSettings& settings, LogGrowth& growth) {
    ReadMark& mark = state.readMark;
    const FileDescriptor log = openFile(state.logPath, Access::Read, Waiting::DontWait);
    const std::optional<FileStatus> status = log ? fileStatus(log.get()) : std::nullopt;
    if (!status || !sameFile(*status, mark)) return LogChange::Rewritten;

    const std::uint64_t seamStart = mark.bytes - std::min(kSeamBytes, mark.bytes);
    std::string bytes;
    if (!readFrom(log.get(), seamStart, bytes, afterRead)) return LogChange::None;
    const auto seamLength = static_cast<std::size_t>(mark.bytes - seamStart);
    // Cut meanwhile, or replaced under its name: nothing of it is shown.
    if (bytes.size() <= seamLength) return LogChange::Rewritten;
    const std::optional<FileStatus> after = fileStatus(log.get());
    if (!after || after->size < seamStart + bytes.size()) return LogChange::Rewritten;
    const std::optional<FileStatus> named = pathStatus(state.logPath);
    if (!named || !sameFile(*named, mark)) return LogChange::Rewritten;
    // The lines hold the file's bytes (without its NULs, after a repair).
    const std::string seam = withoutNulBytes(std::string_view(bytes).substr(0, seamLength));
    const std::string_view shown = state.lines.bytes();
    if (seam.size() > shown.size() || shown.substr(shown.size() - seam.size()) != seam)
        return LogChange::Rewritten;

    if (state.pppd) {
        const std::size_t firstChanged =
            state.lines.append(std::string_view(bytes).substr(seamLength));
        mark.bytes = seamStart + bytes.size();
        readPppdGrowth(state, firstChanged, growth);
        return LogChange::Grew;
    }

    const bool hadCalls = state.table.callCount() > 0;
    if (hadCalls && !mark.lastCallLine) mark.lastCallLine = lastCallLine(state.lines, 0);
    const std::size_t firstChanged = state.lines.append(std::string_view(bytes).substr(seamLength));
    mark.bytes = seamStart + bytes.size();
    const std::size_t resume = hadCalls ? *mark.lastCallLine : firstChanged;

    growth.firstRow = hadCalls ? state.table.rowCount() - 1 : 0;
    growth.calls.reset();
    std::vector<int> corruptRows;
    scanCallsFrom(state.lines, resume, growth.calls, settings, [&](std::string_view) {
        // Told while the call's row is written: the next row of the table.
        corruptRows.push_back(growth.calls.callCount() == 0 ? 0 : growth.calls.rowCount());
    });
    if (growth.calls.callCount() > 0) {
        const int last = growth.calls.rowCount() - 1;  // the call that may still grow
        mark.lastCallLine = lastCallLine(state.lines, resume);
        corruptBefore_ += static_cast<int>(std::count_if(corruptRows.begin(), corruptRows.end(),
                                                         [&](int row) { return row < last; }));
        lastCorrupt_ = std::find(corruptRows.begin(), corruptRows.end(), last) != corruptRows.end();
    }
    return LogChange::Grew;
}

std::string followStatusText(int corruptCalls, bool endedAtNul, bool readFailed,
                             const SayText& say) {
    auto said = [&say](std::string_view text) { return say ? say(text) : std::string(text); };
    std::string text = said(QT_TRANSLATE_NOOP("kestal::Messages", "Following"));
    std::string separator = ": ";
    auto add = [&](const std::string& part) {
        text += separator + part;
        separator = "; ";
    };
    if (corruptCalls > 0)
        add(withPart(
            said(corruptCalls == 1 ? QT_TRANSLATE_NOOP("kestal::Messages", "%1 corrupted call")
                                   : QT_TRANSLATE_NOOP("kestal::Messages", "%1 corrupted calls")),
            std::to_string(corruptCalls)));
    if (endedAtNul)
        add(said(QT_TRANSLATE_NOOP("kestal::Messages",
                                   "a NUL byte ends the log here, Reload reads on")));
    if (readFailed) add(said(QT_TRANSLATE_NOOP("kestal::Messages", "the log can't be read")));
    return text;
}

void takeGrowth(LogState& state, LogGrowth& growth) {
    replaceCallsFrom(state.table, growth);
    if (state.pppd) {
        state.pppd->rowLines = std::move(growth.rowLines);
        state.pppd->linesNotUnderstood = growth.linesNotUnderstood;
        state.pppd->span = growth.span;
    }
}

void replaceCallsFrom(CallTable& table, const LogGrowth& growth) {
    const int current = table.currentRow();
    if (growth.firstRow <= 0) {
        table.setRowCount(1);
        table.clearRow(0);
    } else {
        table.setRowCount(growth.firstRow);
    }
    table.appendCalls(growth.calls);
    table.setCurrentRow(std::min(current, table.rowCount() - 1));
}

}  // namespace kestal
