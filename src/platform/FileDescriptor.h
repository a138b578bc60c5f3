// An open file descriptor owned by a scope, and writing all of a text to a
// descriptor: the two pieces of POSIX file handling every library shares.
#pragma once

#include <string_view>
#include <utility>

namespace kestal {

// Closed when it goes out of scope (unless it is empty: -1).
class FileDescriptor {
public:
    explicit FileDescriptor(int fd = -1) : fd_(fd) {}
    ~FileDescriptor() { close(); }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    FileDescriptor(FileDescriptor&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
    FileDescriptor& operator=(FileDescriptor&& other) noexcept {
        if (this != &other) {
            close();
            fd_ = std::exchange(other.fd_, -1);
        }
        return *this;
    }

    int get() const { return fd_; }
    explicit operator bool() const { return fd_ >= 0; }
    // Closes now; the result tells whether the data reached the file.
    bool close();

private:
    int fd_;
};

// The file open as fd opened anew for reading only (whatever its name leads
// to by now), close-on-exec; -1 when it can't be.
int reopenForReading(int fd);

// Writes all of data, going on after partial writes and interruptions, and
// waiting while a non-blocking descriptor takes no more. Returns 0, or the
// errno of the failure.
int writeAll(int fd, std::string_view data);

}  // namespace kestal
