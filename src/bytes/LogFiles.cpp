#include "bytes/LogFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>

#include "platform/Errors.h"

namespace kestal {

namespace {

constexpr std::size_t kHeadBytes = 64 * 1024;
constexpr std::size_t kPiece = 256 * 1024;

gzFile handle(void* file) { return static_cast<gzFile>(file); }

std::string failure(const std::string& path, int error) {
    return "Cannot open file " + path + ": " + std::strerror(error);
}

std::int64_t modifiedOf(const std::string& path) {
    struct stat status {};
    if (path == kStandardInputPath || ::stat(path.c_str(), &status) != 0)
        return static_cast<std::int64_t>(std::time(nullptr));
    return static_cast<std::int64_t>(status.st_mtime);
}

// The first bytes of a file, decompressed; empty when it can't be read
// (reading it in earnest says why).
std::string headOf(const std::string& path) {
    try {
        LogFileReader reader(path);
        std::string head(kHeadBytes, '\0');
        std::size_t filled = 0;
        while (filled < head.size()) {
            const std::size_t n = reader.read(std::span(head).subspan(filled));
            if (n == 0) break;
            filled += n;
        }
        head.resize(filled);
        return head;
    } catch (const CommandError&) {
        return {};
    }
}

}  // namespace

LogFileReader::LogFileReader(const std::string& path) : path_(path) {
    const int fd = path == kStandardInputPath ? ::dup(STDIN_FILENO)
                                              : ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) throw CommandError(failure(path, errno));
    struct stat status {};
    if (::fstat(fd, &status) != 0 || S_ISDIR(status.st_mode)) {
        const int error = S_ISDIR(status.st_mode) ? EISDIR : errno;
        ::close(fd);
        throw CommandError(failure(path, error));
    }
    file_ = gzdopen(fd, "rb");
    if (!file_) {
        ::close(fd);
        throw CommandError(failure(path, ENOMEM));
    }
    gzbuffer(handle(file_), 128 * 1024);
}

LogFileReader::~LogFileReader() {
    if (file_) gzclose_r(handle(file_));
}

std::size_t LogFileReader::read(std::span<char> buffer) {
    if (ended_ || buffer.empty()) return 0;
    const unsigned want = static_cast<unsigned>(std::min<std::size_t>(buffer.size(), 1u << 30));
    const int n = gzread(handle(file_), buffer.data(), want);
    if (n > 0) return static_cast<std::size_t>(n);
    ended_ = true;
    int code = Z_OK;
    const char* message = gzerror(handle(file_), &code);
    if (code == Z_BUF_ERROR) {
        note_ = "compressed data cut short: read up to where it ends";
    } else if (code == Z_ERRNO) {
        note_ = std::string("read failed: ") + std::strerror(errno);
    } else if (code != Z_OK) {
        note_ = std::string("compressed data damaged (") + (message ? message : "") +
                "): read up to the damage";
    }
    return 0;
}

bool compressedLogName(std::string_view path) { return path.ends_with(".gz"); }

std::vector<std::string> orderLogFiles(const std::vector<std::string>& paths,
                                       const FirstDatedTime& firstDatedTime) {
    if (paths.size() < 2) return paths;
    struct Keyed {
        std::int64_t key;
        std::size_t given;
    };
    std::vector<Keyed> keys;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        const std::int64_t modified = modifiedOf(paths[i]);
        std::optional<std::int64_t> first;
        if (paths[i] != kStandardInputPath && firstDatedTime)
            first = firstDatedTime(headOf(paths[i]), modified);
        keys.push_back({first.value_or(modified), i});
    }
    // Standard input can't be read twice: it keeps its place, the files
    // around it are ordered among themselves.
    std::vector<std::string> ordered;
    auto begin = keys.begin();
    while (begin != keys.end()) {
        auto end = std::find_if(begin, keys.end(), [&](const Keyed& k) {
            return paths[k.given] == kStandardInputPath;
        });
        std::stable_sort(begin, end, [](const Keyed& a, const Keyed& b) { return a.key < b.key; });
        for (auto k = begin; k != end; ++k) ordered.push_back(paths[k->given]);
        if (end != keys.end()) {
            ordered.push_back(paths[end->given]);
            ++end;
        }
        begin = end;
    }
    return ordered;
}

std::int64_t newestModification(const std::vector<std::string>& paths) {
    std::int64_t newest = 0;
    for (const std::string& path : paths) newest = std::max(newest, modifiedOf(path));
    return newest;
}

std::vector<LogFileNote> streamLogFiles(const std::vector<std::string>& paths,
                                        const std::function<void(std::string_view)>& take) {
    std::vector<LogFileNote> notes;
    std::string piece(kPiece, '\0');
    for (std::size_t i = 0; i < paths.size(); ++i) {
        LogFileReader reader(paths[i]);
        char last = '\n';
        while (const std::size_t n = reader.read(piece)) {
            last = piece[n - 1];
            take(std::string_view(piece.data(), n));
        }
        if (last != '\n' && i + 1 < paths.size()) take("\n");
        if (!reader.note().empty()) notes.push_back({paths[i], reader.note()});
    }
    return notes;
}

LogFilesBytes readLogFiles(const std::vector<std::string>& paths,
                           const FirstDatedTime& firstDatedTime) {
    LogFilesBytes log;
    const std::vector<std::string> ordered = orderLogFiles(paths, firstDatedTime);
    const auto append = [&log](std::string_view bytes) { log.bytes.append(bytes); };
    if (ordered.empty()) return log;
    // The last file on its own, to know where its bytes begin.
    log.notes = streamLogFiles({ordered.begin(), ordered.end() - 1}, append);
    if (!log.bytes.empty() && log.bytes.back() != '\n') log.bytes += '\n';
    log.lastFileStart = log.bytes.size();
    for (LogFileNote& note : streamLogFiles({ordered.back()}, append)) {
        log.notes.push_back(std::move(note));
    }
    log.newestModified = newestModification(ordered);
    return log;
}

}  // namespace kestal
