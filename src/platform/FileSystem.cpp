// The file system calls, on this system's own.
#include "platform/FileSystem.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

namespace kestal {

namespace {

std::optional<FileStatus> statusFrom(int result, const struct stat& status) {
    if (result != 0) return std::nullopt;
    return FileStatus{static_cast<std::uint64_t>(status.st_dev),
                      static_cast<std::uint64_t>(status.st_ino),
                      static_cast<std::uint64_t>(status.st_size),
                      status.st_mtim.tv_sec * 1'000'000'000LL + status.st_mtim.tv_nsec,
                      S_ISREG(status.st_mode),
                      S_ISDIR(status.st_mode),
                      S_ISFIFO(status.st_mode)};
}

}  // namespace

std::optional<FileStatus> fileStatus(int fd) {
    struct stat status {};
    return statusFrom(::fstat(fd, &status), status);
}

std::optional<FileStatus> pathStatus(const std::string& path) {
    struct stat status {};
    return statusFrom(::stat(path.c_str(), &status), status);
}

std::optional<FileStatus> nameStatus(const std::string& path) {
    struct stat status {};
    return statusFrom(::lstat(path.c_str(), &status), status);
}

FileDescriptor openFile(const std::string& path, Access access, Waiting waiting) {
    int flags = (access == Access::Read ? O_RDONLY : O_RDWR) | O_NOCTTY | O_CLOEXEC;
    if (waiting == Waiting::DontWait) flags |= O_NONBLOCK;
    return FileDescriptor(::open(path.c_str(), flags));
}

bool openForReadingOnly(int fd) { return (::fcntl(fd, F_GETFL) & O_ACCMODE) == O_RDONLY; }

FileDescriptor createNewFile(const std::string& path) {
    return FileDescriptor(
        ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
}

bool removeFile(const std::string& path) { return ::unlink(path.c_str()) == 0; }

off_t positionOf(int fd) { return ::lseek(fd, 0, SEEK_CUR); }

bool moveTo(int fd, off_t offset) { return ::lseek(fd, offset, SEEK_SET) == offset; }

ssize_t readSome(int fd, char* into, std::size_t count, off_t offset) {
    ssize_t got;
    do {
        got = offset < 0 ? ::read(fd, into, count) : ::pread(fd, into, count, offset);
    } while (got < 0 && errno == EINTR);
    return got;
}

char* mapFileForReading(int fd, off_t base, std::size_t length) {
    void* const mapping = ::mmap(nullptr, length, PROT_READ, MAP_PRIVATE, fd, base);
    return mapping == MAP_FAILED ? nullptr : static_cast<char*>(mapping);
}

int takeReadLease(int fd) {
    // The same file open anew, so that the lease is this descriptor's
    // alone and goes with it.
    const int leaseFd = reopenForReading(fd);
    if (leaseFd < 0) return -1;
    // A lease sends its holder a signal when someone wants the file, SIGIO
    // unless told otherwise, which would end the program: SIGURG is ignored
    // unless handled, and no owner gets one at all.
    if (::fcntl(leaseFd, F_SETSIG, SIGURG) < 0 || ::fcntl(leaseFd, F_SETLEASE, F_RDLCK) < 0 ||
        ::fcntl(leaseFd, F_SETOWN, 0) < 0) {
        dropReadLease(leaseFd);
        return -1;
    }
    return leaseFd;
}

void endReadLease(int leaseFd) { ::fcntl(leaseFd, F_SETLEASE, F_UNLCK); }

void dropReadLease(int leaseFd) {
    endReadLease(leaseFd);
    ::close(leaseFd);
}

}  // namespace kestal
