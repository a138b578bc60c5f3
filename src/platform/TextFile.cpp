#include "platform/TextFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "platform/Errors.h"
#include "platform/FileDescriptor.h"

namespace kestal {

namespace {

// Text is collected and handed to the system in blocks of this size.
constexpr std::size_t kBufferSize = std::size_t{1} << 20;

// The code for writing to a file that isn't open ("I/O error 103").
constexpr int kFileNotOpen = 103;

// Opens path for writing, created empty or emptied. O_NONBLOCK keeps a FIFO
// without a reader from hanging the program (the open fails instead); it is
// cleared again so that writes to a pipe or device wait as usual.
int createFile(const std::string& path) {
    const int fd =
        ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NONBLOCK, 0666);
    if (fd < 0) return -1;
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    return fd;
}

}  // namespace

TextFileWriter::TextFileWriter(Errors errors) : errors_(errors) {}

TextFileWriter::~TextFileWriter() {
    if (fd_ < 0) return;
    // What was written before a failure elsewhere still reaches the file.
    writeAll(fd_, buffer_);
    ::close(fd_);
}

void TextFileWriter::create(const std::string& path) {
    if (fd_ >= 0) {
        writeAll(fd_, buffer_);
        ::close(fd_);
        fd_ = -1;
    }
    buffer_.clear();
    path_ = path;
    fd_ = createFile(path);
    if (fd_ < 0) {
        if (errors_ == Errors::Stream) throw cannotCreateFile(path);
        throw ioError(ioCodeFromErrno(errno, true));
    }
    buffer_.reserve(kBufferSize);
}

void TextFileWriter::attach(int fd, const std::string& name) {
    if (fd_ >= 0) {
        writeAll(fd_, buffer_);
        ::close(fd_);
    }
    buffer_.clear();
    path_ = name;
    fd_ = fd;
    buffer_.reserve(kBufferSize);
}

void TextFileWriter::write(std::string_view text) {
    if (fd_ < 0) {
        if (errors_ == Errors::Stream) throw streamWriteError();
        throw ioError(kFileNotOpen);
    }
    if (buffer_.size() + text.size() <= kBufferSize) {
        buffer_.append(text);
        return;
    }
    flush();
    if (text.size() >= kBufferSize) {
        if (const int err = writeAll(fd_, text)) failWrite(err);
    } else {
        buffer_.append(text);
    }
}

void TextFileWriter::writeLine(std::string_view text) {
    write(text);
    write(kLineEnd);
}

void TextFileWriter::close() {
    if (fd_ < 0) return;
    flush();
    const int fd = fd_;
    fd_ = -1;
    // close() is where a network or quota-limited file system may report
    // that the data didn't make it.
    if (::close(fd) != 0 && errno != EINTR) failWrite(errno);
}

void TextFileWriter::flush() {
    if (buffer_.empty()) return;
    const int err = writeAll(fd_, buffer_);
    buffer_.clear();
    if (err) failWrite(err);
}

void TextFileWriter::failWrite(int err) {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    buffer_.clear();
    if (errors_ == Errors::Stream) throw streamWriteError();
    throw ioError(ioCodeFromErrno(err, false));
}

}  // namespace kestal
