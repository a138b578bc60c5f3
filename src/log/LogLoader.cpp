#include "log/LogLoader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <vector>

#include "log/CallScan.h"
#include "platform/Errors.h"

namespace kestal {

namespace {

constexpr unsigned kWindowsDirectoryBuffer = 256;
// The gauge moves, and window events are let through, at every whole
// thousand bytes of the log read during a repair.
constexpr std::uint64_t kGaugeStep = 1000;
constexpr std::size_t kRepairChunk = 1 << 20;

// An open file descriptor, closed when it goes out of scope.
class Descriptor {
public:
    explicit Descriptor(int fd = -1) : fd_(fd) {}
    ~Descriptor() { reset(); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    Descriptor(Descriptor&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
    Descriptor& operator=(Descriptor&&) = delete;

    int get() const { return fd_; }
    explicit operator bool() const { return fd_ >= 0; }
    // Closes now; the result tells whether the data reached the file.
    bool reset() {
        const bool closed = fd_ < 0 || ::close(fd_) == 0;
        fd_ = -1;
        return closed;
    }

private:
    int fd_;
};

bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [&](char x, char y) { return lower(x) == lower(y); });
}

// The open test: can the log be opened for reading and writing, as the
// Dial-Up Networking would need to? Critical errors fail quietly meanwhile.
// No dialler locks the file here, so a refused read-write open means
// permissions or a read-only mount: such a log is still shown, as the
// viewer never writes it. Only a plain file passes: a folder or a device is
// no log, and a pipe must not keep the program waiting (hence the
// non-blocking open).
Descriptor openTest(Platform& platform, const std::string& path, struct stat& status) {
    const unsigned previousMode = platform.SetErrorMode(SEM_FAILCRITICALERRORS);
    constexpr int kFlags = O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
    int fd = ::open(path.c_str(), O_RDWR | kFlags);
    if (fd < 0) fd = ::open(path.c_str(), O_RDONLY | kFlags);
    Descriptor log(fd);
    platform.SetErrorMode(previousMode);
    if (!log) return log;
    if (::fstat(log.get(), &status) != 0 || !S_ISREG(status.st_mode)) log.reset();
    return log;
}

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

// Hidden grid, busy cursor and an open table change for as long as the
// scan runs.
class ScanScope {
public:
    ScanScope(Platform& platform, LoadView& view) : platform_(platform), view_(view) {
        view_.setGridVisible(false);
        platform_.setBusyCursor(true);
        view_.beginTableChange();
    }
    ~ScanScope() {
        if (!finished_) {
            view_.endTableChange();
            view_.setGridVisible(true);
            platform_.setBusyCursor(false);
        }
    }
    ScanScope(const ScanScope&) = delete;
    ScanScope& operator=(const ScanScope&) = delete;

    void finish(const CallTable& table) {
        finished_ = true;
        view_.endTableChange();
        view_.setGridVisible(true);
        view_.selectFirstRow();
        if (const std::optional<std::string> label = callCountText(table))
            view_.setStatusText(*label);
        platform_.setBusyCursor(false);
    }

private:
    Platform& platform_;
    LoadView& view_;
    bool finished_ = false;
};

void writeAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR) continue;
            throw ioError(ioCodeFromErrno(errno, false));
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
}

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
    if (::lseek(log, 0, SEEK_SET) != 0) throw cannotOpenFile(logPath);
    std::vector<char> chunk(kRepairChunk);
    std::uint64_t count = 0;  // bytes read, NUL bytes included
    for (;;) {
        const ssize_t got = ::read(log, chunk.data(), chunk.size());
        if (got == 0) break;
        if (got < 0) {
            if (errno == EINTR) continue;
            throw cannotOpenFile(logPath);
        }
        const auto kept = static_cast<std::size_t>(
            std::remove(chunk.begin(), chunk.begin() + got, '\0') - chunk.begin());
        writeAll(temp, chunk.data(), kept);
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
Descriptor createTempFile(const std::string& tempPath, const struct stat& logStatus) {
    struct stat existing {};
    // When the temporary name is the log's own (a log named "ppplog.tmp", or
    // reached through a link of another name), removing it would lose the log.
    if (::lstat(tempPath.c_str(), &existing) == 0 && existing.st_dev == logStatus.st_dev &&
        existing.st_ino == logStatus.st_ino)
        throw cannotCreateFile(tempPath);
    ::unlink(tempPath.c_str());
    Descriptor temp(
        ::open(tempPath.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
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
    TempFile(Platform& platform, const std::string& path, const struct stat& logStatus)
        : platform_(platform), path_(path), fd_(createTempFile(path, logStatus)) {}
    ~TempFile() { removeWhileOurs(); }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    int get() const { return fd_.get(); }

    void readBack(LogLines& lines) const {
        if (::lseek(fd_.get(), 0, SEEK_SET) != 0) throw cannotOpenFile(path_);
        lines.assignFrom(fd_.get(), path_);
    }

private:
    void removeWhileOurs() {
        struct stat held {};
        struct stat named {};
        if (::fstat(fd_.get(), &held) == 0 && ::lstat(path_.c_str(), &named) == 0 &&
            held.st_dev == named.st_dev && held.st_ino == named.st_ino)
            platform_.DeleteFileA(path_.c_str());
    }

    Platform& platform_;
    const std::string path_;
    Descriptor fd_;
};

// The NUL repair: the log's bytes without NULs, through "ppplog.tmp" beside
// the log, become the new lines. Returns false (after telling the user) when
// the temporary file fails; the lines read before are then kept.
bool repairLog(LogState& state, int log, const struct stat& logStatus, Platform& platform,
               LoadView& view) {
    RepairScope scope(platform, view);
    // The temporary file is removed as the try block ends, however it ends
    // (out of memory, say), and before any report.
    try {
        const TempFile temp(platform, tempPathFor(state.LogPath), logStatus);
        copyWithoutNulBytes(log, temp.get(), state.LogPath,
                            static_cast<std::uint64_t>(logStatus.st_size), platform, view);
        LogLines repaired;
        temp.readBack(repaired);
        state.lines = std::move(repaired);
        // The copy read the log to its end, whatever it had grown to.
        if (const off_t copied = ::lseek(log, 0, SEEK_CUR); copied >= 0)
            state.readMark.bytes = static_cast<std::uint64_t>(copied);
        return true;
    } catch (const CommandError& failure) {
        scope.end();  // no dialog under the hourglass or behind blocked input
        platform.showErrorReport(withFullStop(failure.what()));
        return false;
    }
}

void runScan(LogState& state, Platform& platform, LoadView& view) {
    const RegionalSettings settings = platform.regionalSettings();
    ScanScope scope(platform, view);
    scanCalls(state.lines, state.table, settings, [&platform](std::string_view) {
        platform.messageDlg(kCorruptLogWarning, DialogType::Warning, DialogButtons::Ok);
    });
    scope.finish(state.table);
}

}  // namespace

bool windowsDirectory(Platform& platform, std::string& directory) {
    std::string buffer(kWindowsDirectoryBuffer, '\0');
    const unsigned length = platform.GetWindowsDirectoryA(buffer.data(), kWindowsDirectoryBuffer);
    // A directory too long for the buffer is answered with the size it would
    // need and the buffer left unfilled: that is a failure too, never an
    // empty directory.
    if ((length & 0xFFFFu) == 0 || length >= kWindowsDirectoryBuffer) return false;
    directory.assign(buffer.data(), length);
    return true;
}

bool defaultLogPath(Platform& platform, std::string& path) {
    std::string directory;
    if (!windowsDirectory(platform, directory)) return false;
    path = directory + std::string(kLogFileSuffix);
    return true;
}

std::string tempPathFor(std::string_view logPath) {
    const std::size_t slash = logPath.rfind('/');
    const std::string_view directory =
        slash == std::string_view::npos ? std::string_view() : logPath.substr(0, slash + 1);
    return std::string(directory) + std::string(kTempFileName);
}

void startUp(LogState& state, Platform& platform, LoadView& view, std::string_view logFile) {
    if (!logFile.empty()) {
        openLogFile(state, platform, view, logFile);
    } else if (defaultLogPath(platform, state.LogPath)) {
        LoadLog(state, platform, view);
    } else {
        view.setClearEnabled(false);
        view.setStatusText(kNoSystemLog);
    }
}

void LoadLog(LogState& state, Platform& platform, LoadView& view) {
    struct stat logStatus {};
    state.readMark = ReadMark{};
    // The log stays open from the test to the end of the load, so that what
    // is read is the file that passed the test.
    Descriptor log = openTest(platform, state.LogPath, logStatus);
    if (!log) {
        platform.messageDlg(kLogInUse, DialogType::Error, DialogButtons::Ok);
        return;
    }
    const auto fileSize = static_cast<std::uint64_t>(logStatus.st_size);

    state.lines.clear();
    // A big log takes a while to read: the busy cursor says so, and is gone
    // again before any question comes.
    platform.setBusyCursor(true);
    try {
        state.lines.assignFrom(log.get(), state.LogPath);
    } catch (const CommandError& failure) {
        platform.setBusyCursor(false);
        platform.showErrorReport(withFullStop(failure.what()));
        return;
    } catch (...) {
        platform.setBusyCursor(false);
        throw;
    }
    platform.setBusyCursor(false);
    state.readMark = {true,
                      static_cast<std::uint64_t>(logStatus.st_dev),
                      static_cast<std::uint64_t>(logStatus.st_ino),
                      state.lines.byteCount(),
                      {}};

    if (state.lines.joinedLength() != fileSize) {
        const bool repaired = platform.messageDlg(kAttemptLoadQuestion, DialogType::Warning,
                                                  DialogButtons::YesNo) == DialogResult::Yes &&
                              repairLog(state, log.get(), logStatus, platform, view);
        if (!repaired)
            platform.messageDlg(kSomeCallsNotListed, DialogType::Warning, DialogButtons::Ok);
    }
    log.reset();

    runScan(state, platform, view);
}

bool Open1Click(LogState& state, Platform& platform, LoadView& view, FileDialog& OpenDialog1) {
    std::string directory;
    const bool haveWindowsDirectory = windowsDirectory(platform, directory);
    if (haveWindowsDirectory) OpenDialog1.initialDir = directory;
    if (!platform.executeFileDialog(OpenDialog1)) return false;
    openLogFile(state, platform, view, OpenDialog1.fileName);
    return true;
}

void openLogFile(LogState& state, Platform& platform, LoadView& view, std::string_view path) {
    state.LogPath = path;
    std::string directory;
    const bool haveWindowsDirectory = windowsDirectory(platform, directory);
    // Clear empties the system log in the Windows directory. When that
    // directory can't be found there is no system log that LogPath could
    // be, so Clear is disabled.
    view.setClearEnabled(
        haveWindowsDirectory &&
        equalsIgnoringAsciiCase(state.LogPath, directory + std::string(kLogFileSuffix)));
    view.beginTableChange();
    state.table.reset();
    view.endTableChange();
    view.setCaption(std::string(kProgramCaption) + " - " + state.LogPath);
    view.setStatusText("");
    LoadLog(state, platform, view);
}

}  // namespace kestal
