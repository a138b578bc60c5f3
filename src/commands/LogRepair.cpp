// The NUL repair through the temporary file beside the log.
#include "commands/LogRepair.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "commands/SystemLog.h"
#include "platform/Errors.h"
#include "platform/FileSystem.h"

namespace kestal {

namespace {

// The gauge moves, and window events are let through, at every whole
// thousand bytes of the log read during a repair.
constexpr std::uint64_t kGaugeStep = 1000;
constexpr std::size_t kRepairChunk = 1 << 20;

// Busy cursor, visible gauge and blocked input for as long as a repair runs,
// all taken back however it ends.
class RepairScope {
public:
    RepairScope(Platform& platform, LoadView& view) : platform_(platform), view_(view) {
        platform_.setBusyCursor(true);
        view_.setGaugeVisible(true);
        view_.setInputBlocked(true);
    }
    ~RepairScope() { end(); }
    RepairScope(const RepairScope&) = delete;
    RepairScope& operator=(const RepairScope&) = delete;

    void end() {
        if (ended_) return;
        ended_ = true;
        view_.setInputBlocked(false);
        view_.setGaugeVisible(false);
        platform_.setBusyCursor(false);
    }

private:
    Platform& platform_;
    LoadView& view_;
    bool ended_ = false;
};

int gaugeProgress(std::uint64_t count, std::uint64_t fileSize) {
    // A log that grew since it was measured (or was empty then) must not
    // divide by zero or push the gauge past its end.
    if (fileSize == 0) return 100;
    return static_cast<int>(std::min<std::uint64_t>(count * 100 / fileSize, 100));
}

// Copies the log, from its start, into the temporary file without its NUL
// bytes, moving the gauge as it goes.
void copyWithoutNulBytes(int log, int temp, const std::string& logPath, std::uint64_t fileSize,
                         Platform& platform, LoadView& view) {
    if (!moveTo(log, 0)) throw cannotOpenFile(logPath);
    std::vector<char> chunk(kRepairChunk);
    std::uint64_t count = 0;  // bytes read, NUL bytes included
    for (;;) {
        const ssize_t got = readSome(log, chunk.data(), chunk.size());
        if (got == 0) break;
        if (got < 0) throw cannotOpenFile(logPath);
        const auto kept = static_cast<std::size_t>(
            std::remove(chunk.begin(), chunk.begin() + got, '\0') - chunk.begin());
        if (const int error = writeAll(temp, std::string_view(chunk.data(), kept)))
            throw ioError(ioCodeFromErrno(error, false));
        const std::uint64_t before = count;
        count += static_cast<std::uint64_t>(got);
        for (std::uint64_t mark = (before / kGaugeStep + 1) * kGaugeStep; mark <= count;
             mark += kGaugeStep) {
            view.setGaugeProgress(gaugeProgress(mark, fileSize));
            platform.processMessages();
        }
    }
}

// Replaces any file of that name by a new, empty one that is ours alone:
// never a file that a link of that name points to.
FileDescriptor createTempFile(const std::string& tempPath, const FileStatus& logStatus) {
    // When the temporary name is the log's own (a log named "ppplog.tmp", or
    // reached through a link of another name), removing it would lose the log.
    if (const std::optional<FileStatus> existing = nameStatus(tempPath);
        existing && existing->sameFileAs(logStatus))
        throw cannotCreateFile(tempPath);
    removeFile(tempPath);
    FileDescriptor temp = createNewFile(tempPath);
    if (!temp) throw cannotCreateFile(tempPath);
    return temp;
}

// The repair's temporary file, open from its creation to its removal. It is
// read back through the descriptor that wrote it, and its name is removed
// only while the name still leads to it: in a folder that others can write
// to, another file may have taken the name meanwhile, and that one is
// neither read nor removed.
class TempFile {
public:
    TempFile(const std::string& path, const FileStatus& logStatus)
        : path_(path), fd_(createTempFile(path, logStatus)) {}
    ~TempFile() { removeWhileOurs(); }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    int get() const { return fd_.get(); }

    void readBack(LogLines& lines) const {
        if (!moveTo(fd_.get(), 0)) throw cannotOpenFile(path_);
        lines.assignFrom(fd_.get(), path_);
    }

private:
    void removeWhileOurs() {
        const std::optional<FileStatus> held = fileStatus(fd_.get());
        const std::optional<FileStatus> named = nameStatus(path_);
        if (held && named && held->sameFileAs(*named)) removeFile(path_);
    }

    const std::string path_;
    FileDescriptor fd_;
};

}  // namespace

bool repairLog(LogState& state, int log, const FileStatus& logStatus, Platform& platform,
               LoadView& view) {
    RepairScope scope(platform, view);
    // The temporary file is removed as the try block ends, however it ends
    // (out of memory, say), and before any report.
    try {
        const TempFile temp(tempPathFor(state.logPath), logStatus);
        copyWithoutNulBytes(log, temp.get(), state.logPath, logStatus.size, platform, view);
        LogLines repaired;
        temp.readBack(repaired);
        state.lines = std::move(repaired);
        // The copy read the log to its end, whatever it had grown to.
        if (const off_t copied = positionOf(log); copied >= 0)
            state.readMark.bytes = static_cast<std::uint64_t>(copied);
        return true;
    } catch (const CommandError& failure) {
        scope.end();  // no dialog under the hourglass or behind blocked input
        platform.showErrorReport(withFullStop(failure.what()));
        return false;
    }
}

}  // namespace kestal
