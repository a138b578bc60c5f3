// Reading a file's bytes to its end, a piece at a time.
#include "bytes/FileBytes.h"

#include <algorithm>
#include <optional>

#include "platform/Errors.h"
#include "platform/FileSystem.h"

namespace kestal {

namespace {

constexpr std::size_t kMinimumReadChunk = 64 * 1024;
constexpr std::size_t kProgressPiece = std::size_t{4} << 20;
constexpr std::size_t kReadPiece = std::size_t{1} << 20;

// Appends the rest of an open file to bytes until the system says it ends,
// calling afterPiece(bytes read so far) after each piece that came in.
template <typename AfterPiece>
void readPieces(int fd, const std::string& path, std::string& bytes, std::size_t expected,
                std::size_t piece, AfterPiece afterPiece) {
    // One byte more than expected, so that the end shows up without a
    // second allocation.
    bytes.reserve(std::max(expected + 1, kMinimumReadChunk));
    std::size_t used = bytes.size();
    for (;;) {
        if (used == bytes.capacity())
            bytes.reserve(std::max(bytes.capacity() * 2, kMinimumReadChunk));
        // The string is lengthened a piece at a time just before each read:
        // the zeros it writes are still in the cache when the read overwrites
        // them, instead of a pass over the whole buffer beforehand.
        const std::size_t room = std::min(bytes.capacity() - used, piece);
        bytes.resize(used + room);
        const ssize_t got = readSome(fd, bytes.data() + used, room);
        if (got < 0) throw cannotOpenFile(path);
        used += static_cast<std::size_t>(got);
        bytes.resize(used);
        if (got == 0) return;
        afterPiece(used);
    }
}

}  // namespace

std::size_t bytesLeftIn(int fd) {
    const std::optional<FileStatus> status = fileStatus(fd);
    if (!status || !status->regular || status->size == 0) return 0;
    const off_t position = positionOf(fd);
    const off_t left = static_cast<off_t>(status->size) - (position > 0 ? position : 0);
    return left > 0 ? static_cast<std::size_t>(left) : 0;
}

std::string readDescriptorBytes(int fd, const std::string& path) {
    return readDescriptorBytes(fd, path, ReadProgress{});
}

std::string readDescriptorBytes(int fd, const std::string& path, const ReadProgress& progress) {
    const std::size_t expected = bytesLeftIn(fd);
    std::string bytes;
    readPieces(fd, path, bytes, expected, progress ? kProgressPiece : kReadPiece,
               [&](std::size_t used) {
                   if (progress) progress(used, expected);
               });
    return bytes;
}

std::string readFileBytes(const std::string& path) {
    const FileDescriptor file = openFile(path);
    if (!file) throw cannotOpenFile(path);
    return readDescriptorBytes(file.get(), path);
}

std::string withoutNulBytes(std::string_view bytes) {
    std::string result;
    result.reserve(bytes.size());
    std::size_t from = 0;
    while (from < bytes.size()) {
        std::size_t nul = bytes.find('\0', from);
        if (nul == std::string_view::npos) nul = bytes.size();
        result.append(bytes.substr(from, nul - from));
        from = nul + 1;
    }
    return result;
}

}  // namespace kestal
