// Loading the log: the open test, the read, the size check and the scan.
#include "commands/LoadLog.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <span>

#include "bytes/FileBytes.h"
#include "bytes/LogFiles.h"
#include "calls/CallScan.h"
#include "calls/CallScanWhileRead.h"
#include "commands/BusyCursor.h"
#include "commands/CallCountText.h"
#include "commands/LogRepair.h"
#include "commands/OpenJournal.h"
#include "lines/LooksLikeLog.h"
#include "platform/AsciiCase.h"
#include "platform/Errors.h"
#include "platform/FileSystem.h"
#include "pppd/LinePrefix.h"
#include "pppd/LogKind.h"

namespace kestal::commands {

namespace {

// The open test: can the log be opened for reading and writing, as the
// Dial-Up Networking would need to? No dialler locks the file here, so a refused read-write open
// means permissions or a read-only mount: such a log is still shown, as the viewer never writes it.
// Only a plain file passes: a folder or a device is no log, and a pipe must not keep the program
// waiting (hence the non-blocking open).
FileDescriptor openTest(const std::string& path, FileStatus& status) {
    FileDescriptor log = openFile(path, Access::ReadWrite, Waiting::DontWait);
    if (!log) log = openFile(path, Access::Read, Waiting::DontWait);
    if (!log) return log;
    if (const std::optional<FileStatus> found = fileStatus(log.get()); found && found->regular)
        status = *found;
    else
        log.close();
    // The log is read through a descriptor of its own open for reading
    // only (the same file, whatever its name leads to by now): with none of
    // ours open to write it, a big log can be held under a read lease rather
    // than copied (see LogLines).
    if (log && !openForReadingOnly(log.get())) {
        FileDescriptor reading(reopenForReading(log.get()));
        if (reading) return reading;
    }
    return log;
}

// Hidden grid and busy cursor for as long as the scan runs; the new table
// shown when it is done.
class ScanScope {
public:
    ScanScope(Platform& platform, LoadView& view) : platform_(platform), view_(view) {
        view_.setGridVisible(false);
        platform_.setBusyCursor(true);
    }
    ~ScanScope() {
        if (!finished_) {
            view_.setGridVisible(true);
            platform_.setBusyCursor(false);
        }
    }
    ScanScope(const ScanScope&) = delete;
    ScanScope& operator=(const ScanScope&) = delete;

    void finish(const CallTable& table, const std::optional<std::string>& label) {
        finished_ = true;
        view_.showTable(table);
        view_.setGridVisible(true);
        view_.selectFirstRow();
        if (label) view_.setStatusText(*label);
        platform_.setBusyCursor(false);
    }

private:
    Platform& platform_;
    LoadView& view_;
    bool finished_ = false;
};

void warnOfCorruptCall(Platform& platform) {
    platform.messageDlg(kCorruptLogWarning, DialogType::Warning, DialogButtons::Ok);
}

// The call table of the lines, built apart and then shown in one go: walked
// now, or taken from the walk done while they were read (scanned).
void runScan(LogState& state, Platform& platform, LoadView& view,
             CallScanWhileRead* scanned = nullptr) {
    ScanScope scope(platform, view);
    CallTable table{kDialUpColumns};
    if (scanned != nullptr) {
        std::vector<int> corruptRows;
        scanned->finish(state.lines, table, corruptRows);
        for (std::size_t i = 0; i < corruptRows.size(); ++i) warnOfCorruptCall(platform);
    } else {
        scanCalls(state.lines, table, platform.regionalSettings(),
                  [&platform](std::string_view) { warnOfCorruptCall(platform); });
    }
    state.table = std::move(table);
    scope.finish(state.table, callCountText(state.table));
}

// The kind of the open log, from its first bytes.
LogKind kindOfLog(int log) {
    std::string probe(kKindProbeBytes, '\0');
    const ssize_t got = readSome(log, probe.data(), probe.size(), 0);
    probe.resize(static_cast<std::size_t>(std::max<ssize_t>(got, 0)));
    return looksLikePppdLog(probe) ? LogKind::Pppd : LogKind::DialUp;
}

// Several files read as one log, its kind from the joined bytes.
void loadJoinedLogs(LogState& state, Platform& platform, LoadView& view) {
    state.readMark = ReadMark{};
    state.joinedRead = false;
    LogFilesBytes joined;
    {
        BusyCursor busy(platform);
        try {
            joined = readLogFiles(state.joinedPaths, firstDatedTime);
        } catch (const CommandError& failure) {
            busy.restore();
            platform.showErrorReport(withFullStop(failure.what()));
            return;
        }
    }
    if (!joined.notes.empty()) {
        std::string text(kLogsEndEarly);
        for (const LogFileNote& note : joined.notes) text += "\r\n" + note.path + ": " + note.text;
        platform.messageDlg(text, DialogType::Warning, DialogButtons::Ok);
    }
    state.lines.clear();
    state.pppd.reset();
    state.kind = looksLikePppdLog(std::string_view(joined.bytes).substr(0, kKindProbeBytes))
                     ? LogKind::Pppd
                     : LogKind::DialUp;
    // Follow reads on from the end of the newest file, as it does for one
    // file; a compressed one (whose bytes are no offset in it) is read
    // again whole.
    const std::optional<FileStatus> newest =
        compressedLogName(state.logPath) ? std::nullopt : pathStatus(state.logPath);
    if (newest && newest->regular) {
        state.readMark.known = true;
        state.readMark.device = newest->device;
        state.readMark.inode = newest->inode;
        state.readMark.bytes = joined.bytes.size() - joined.lastFileStart;
    }
    state.lines.assign(std::move(joined.bytes));
    state.joinedRead = true;
    if (state.kind == LogKind::Pppd)
        readPppdTable(state, platform, view, joined.newestModified);
    else
        runScan(state, platform, view);
}

// Reads the open log into the lines under the busy cursor, telling scan
// (when given) of them meanwhile. False (after telling the user) when it
// can't be read.
bool readLines(LogState& state, int log, Platform& platform, CallScanWhileRead* scan) {
    // A big log takes a while to read: the busy cursor says so, and is gone
    // again before any question comes.
    BusyCursor busy(platform);
    try {
        if (scan != nullptr)
            state.lines.assignFrom(log, state.logPath, *scan);
        else
            state.lines.assignFrom(log, state.logPath);
    } catch (const CommandError& failure) {
        busy.restore();
        platform.showErrorReport(withFullStop(failure.what()));
        return false;
    }
    return true;
}

enum class FileLook { Log, Folder, NotALog, CantTell };

// A dial-up log or a pppd log, by its first bytes.
bool looksLikeLog(std::string_view first) {
    return looksLikePppLog(first) || looksLikePppdLog(first);
}

// What the file at path is, by its kind and first bytes. A file that is not
// there or can't be read is left for the load to report.
FileLook lookAtFile(const std::string& path) {
    const std::optional<FileStatus> status = pathStatus(path);
    if (!status) return FileLook::CantTell;
    if (status->folder) return FileLook::Folder;
    // A journal file is read through the journal's library, which tells
    // what is wrong with one.
    if (isJournalFile(path)) return FileLook::Log;
    // A pipe or a device is no log, and reading one might never end.
    if (!status->regular) return FileLook::NotALog;
    if (compressedLogName(path)) {
        // A rotated log kept compressed is looked at as it reads.
        try {
            LogFileReader reader(path);
            std::string first(kLogLookBytes, '\0');
            std::size_t got = 0;
            while (got < first.size()) {
                const std::size_t read = reader.read(std::span(first).subspan(got));
                if (read == 0) break;
                got += read;
            }
            first.resize(got);
            return looksLikeLog(first) ? FileLook::Log : FileLook::NotALog;
        } catch (const CommandError&) {
            return FileLook::CantTell;
        }
    }
    const FileDescriptor file = openFile(path, Access::Read, Waiting::DontWait);
    if (!file) return FileLook::CantTell;
    std::string first(kLogLookBytes, '\0');
    std::size_t got = 0;
    while (got < first.size()) {
        const ssize_t read =
            readSome(file.get(), first.data() + got, first.size() - got, static_cast<off_t>(got));
        if (read < 0) return FileLook::CantTell;
        if (read == 0) break;
        got += static_cast<std::size_t>(read);
    }
    first.resize(got);
    return looksLikeLog(first) ? FileLook::Log : FileLook::NotALog;
}

}  // namespace

void startUp(LogState& state, Platform& platform, LoadView& view, std::string_view logFile) {
    if (!logFile.empty()) {
        openLogFile(state, platform, view, logFile);
    } else if (defaultLogPath(platform, state.logPath)) {
        loadLog(state, platform, view);
    } else {
        view.setClearEnabled(false);
        view.setStatusText(kNoSystemLog);
    }
}

void loadLog(LogState& state, Platform& platform, LoadView& view) {
    if (state.journal) {
        loadJournal(state, platform, view);
        return;
    }
    if (!state.joinedPaths.empty()) {
        loadJoinedLogs(state, platform, view);
        return;
    }
    FileStatus logStatus;
    state.readMark = ReadMark{};
    // The log stays open from the test to the end of the load, so that what
    // is read is the file that passed the test.
    FileDescriptor log = openTest(state.logPath, logStatus);
    if (!log) {
        platform.messageDlg(kLogInUse, DialogType::Error, DialogButtons::Ok);
        return;
    }
    const std::uint64_t fileSize = logStatus.size;

    state.lines.clear();
    state.pppd.reset();
    const LogKind before = state.kind;
    state.kind = kindOfLog(log.get());
    if (state.kind == LogKind::Pppd) {
        // Clear empties the dial-up adapter's log only.
        view.setClearEnabled(false);
        if (!readLines(state, log.get(), platform, nullptr)) return;
        state.readMark = {true, logStatus.device, logStatus.inode, state.lines.byteCount(), {}};
        log.close();
        readPppdTable(state, platform, view, logStatus.modifiedNanoseconds / 1'000'000'000);
        return;
    }
    if (before == LogKind::Pppd) view.setClearEnabled(isSystemLog(state, platform));

    CallScanWhileRead scan(platform.regionalSettings(), fileSize);
    if (!readLines(state, log.get(), platform, &scan)) return;
    state.readMark = {true, logStatus.device, logStatus.inode, state.lines.byteCount(), {}};

    // The question is about NUL bytes, which end the text before the file
    // does: it comes exactly when one did. Line ends of one byte (a log
    // that went through a Unix tool) or a last line without one lose
    // nothing, and counting lengths would take them for damage.
    // A repair reads other lines, whose calls are walked afresh.
    bool repaired = false;
    if (state.lines.endsAtNul()) {
        repaired = platform.messageDlg(kAttemptLoadQuestion, DialogType::Warning,
                                       DialogButtons::YesNo) == DialogResult::Yes &&
                   repairLog(state, log.get(), logStatus, platform, view);
        if (!repaired)
            platform.messageDlg(kSomeCallsNotListed, DialogType::Warning, DialogButtons::Ok);
    }
    log.close();

    runScan(state, platform, view, repaired ? nullptr : &scan);
}

bool openLog(LogState& state, Platform& platform, LoadView& view, FileDialog& openDialog) {
    std::string directory;
    if (windowsDirectory(platform, directory)) openDialog.initialDir = directory;
    if (!platform.executeFileDialog(openDialog)) return false;
    if (openDialog.fileNames.size() > 1)
        openLogFiles(state, platform, view, openDialog.fileNames);
    else
        openLogFile(state, platform, view, openDialog.fileName);
    return true;
}

bool isSystemLog(const LogState& state, Platform& platform) {
    std::string directory;
    // Clear empties the system log in the Windows directory. When that
    // directory can't be found there is no system log that the log path
    // could be.
    return windowsDirectory(platform, directory) &&
           equalsIgnoringAsciiCase(state.logPath, directory + std::string(kLogFileSuffix));
}

void takePppdTable(LogState& state, PppdLog log) {
    state.table = std::move(log.table);
    state.pppd->rowLines = std::move(log.rowLines);
    state.pppd->linesNotUnderstood = log.linesNotUnderstood;
    state.pppd->span = log.span;
}

void readPppdTable(LogState& state, Platform& platform, LoadView& view, std::int64_t modified) {
    ScanScope scope(platform, view);
    // A system log written when the machine went down can hold runs of NUL
    // bytes: they are left out, and the lines after them read.
    if (state.lines.endsAtNul()) state.lines.assign(withoutNulBytes(state.lines.bytes()));
    PppdReadOptions options;
    options.newestTime = modified;
    options.localMonths = regionalMonthNames();
    state.pppd.emplace(options);
    state.pppd->reader.addAll(state.lines);
    state.pppd->linesRead = state.lines.size();
    takePppdTable(state, state.pppd->reader.table());
    scope.finish(state.table, countText(state));
}

std::optional<std::string> countText(const LogState& state) {
    if (!state.pppd) return callCountText(state.table);
    return pppdCountText(pppdCounts(state.table), state.pppd->linesNotUnderstood);
}

void openLogFiles(LogState& state, Platform& platform, LoadView& view,
                  const std::vector<std::string>& paths) {
    if (paths.size() <= 1) {
        if (!paths.empty()) openLogFile(state, platform, view, paths.front());
        return;
    }
    // Journal files chosen together are read as one journal, as journalctl
    // reads them.
    if (std::all_of(paths.begin(), paths.end(),
                    [](const std::string& path) { return isJournalFile(path); })) {
        openJournal(state, platform, view, JournalSource{paths, {}, {}, {}});
        return;
    }
    state.journal.reset();
    state.joinedPaths = orderLogFiles(paths, firstDatedTime);
    state.logPath = state.joinedPaths.back();
    view.setClearEnabled(false);  // Clear empties the system log alone
    state.table.reset();
    state.pppd.reset();
    view.showTable(state.table);
    view.setCaption(std::string(kProgramTitle) + " - " + state.logPath + " and " +
                    std::to_string(paths.size() - 1) + " more");
    view.setStatusText("");
    loadLog(state, platform, view);
}

void openLogFile(LogState& state, Platform& platform, LoadView& view, std::string_view path) {
    if (isJournalFile(path)) {
        openJournal(state, platform, view, JournalSource{{std::string(path)}, {}, {}, {}});
        return;
    }
    state.journal.reset();
    state.joinedPaths.clear();
    state.logPath = path;
    view.setClearEnabled(isSystemLog(state, platform));
    state.table.reset();
    state.pppd.reset();  // its rows are gone
    view.showTable(state.table);
    view.setCaption(std::string(kProgramTitle) + " - " + state.logPath);
    view.setStatusText("");
    loadLog(state, platform, view);
}

bool openOtherLog(LogState& state, Platform& platform, LoadView& view, std::string_view path) {
    const std::string file(path);
    switch (lookAtFile(file)) {
        case FileLook::Folder:
            platform.messageDlg(folderNotALogText(path), DialogType::Error, DialogButtons::Ok);
            return false;
        case FileLook::NotALog:
            platform.messageDlg(notAPppLogText(path), DialogType::Error, DialogButtons::Ok);
            return false;
        case FileLook::Log:
        case FileLook::CantTell:
            break;
    }
    openLogFile(state, platform, view, path);
    return true;
}

}  // namespace kestal::commands
