// Reading bytes into lines: any bytes give the lines that the simple
// character-by-character rule gives, none of them holding a line end or a
// NUL byte, and a joined length that adds up; also when the bytes are read
// from a file that hands them over in small pieces, cut anywhere (a CR LF
// pair split between two pieces, say), and when two threads read a file of
// them, split anywhere.
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "FuzzCheck.h"
#include "lines/LogLines.h"

using namespace kestal;
using kestal::fuzz::check;

namespace {

// The cutting rule written the slow, obvious way.
std::vector<std::string> expectedLines(std::string_view bytes) {
    const std::string_view text = bytes.substr(0, bytes.find('\0'));
    std::vector<std::string> lines;
    std::string current;
    bool pending = false;  // text since the last line end
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(current);
            current.clear();
            pending = false;
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            current += c;
            pending = true;
        }
    }
    if (pending) lines.push_back(current);
    return lines;
}

// The bytes as a descriptor that gives them in pieces: each write to a
// sequenced-packet socket comes out of one read. The pieces are 1 to 32
// bytes long, and one always ends right after each CR.
bool sameLinesReadInPieces(const std::string& bytes, const LogLines& expected) {
    int ends[2];
    if (::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, ends) != 0) std::abort();
    // Written meanwhile by another thread: the socket holds only so many packets.
    std::thread writer([&bytes, fd = ends[1]] {
        std::uint32_t state = static_cast<std::uint32_t>(bytes.size()) * 2654435761u + 1;
        std::size_t at = 0;
        while (at < bytes.size()) {
            state = state * 1103515245u + 12345u;
            std::size_t length = 1 + (state >> 16) % 32;
            const std::size_t cr = bytes.find('\r', at);
            if (cr != std::string::npos && cr < at + length) length = cr + 1 - at;
            length = std::min(length, bytes.size() - at);
            if (::write(fd, bytes.data() + at, length) != static_cast<ssize_t>(length))
                std::abort();
            at += length;
        }
        ::close(fd);
    });
    LogLines lines;
    lines.assignFrom(ends[0], "pieces");
    writer.join();
    ::close(ends[0]);
    if (lines.size() != expected.size() || lines.joinedLength() != expected.joinedLength())
        return false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i] != expected[i]) return false;
    }
    return true;
}

// The bytes as a file in memory, read by two threads that split it at
// split into an index keeping its entries' distances in narrowBits: the same
// lines as read whole. At an even split the file is open for reading only,
// so that it is read from its own pages under a read lease; otherwise
// copied.
bool sameLinesReadInTwo(const std::string& bytes, std::size_t split, unsigned narrowBits,
                        const LogLines& expected) {
    int fd = ::memfd_create("log", MFD_CLOEXEC);
    if (fd < 0 || ::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()) ||
        ::lseek(fd, 0, SEEK_SET) != 0)
        std::abort();
    if (split % 2 == 0) {
        const std::string self = "/proc/self/fd/" + std::to_string(fd);
        const int reading = ::open(self.c_str(), O_RDONLY | O_CLOEXEC);
        if (reading < 0) std::abort();
        ::close(fd);
        fd = reading;
    }
    LogLines lines(narrowBits);
    lines.assignFrom(fd, "memory", split);
    ::close(fd);
    if (lines.size() != expected.size() || lines.joinedLength() != expected.joinedLength() ||
        lines.byteCount() != bytes.size())
        return false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i] != expected[i]) return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);

    const LogLines lines = LogLines::fromBytes(bytes);
    const std::vector<std::string> expected = expectedLines(bytes);

    check(lines.size() == expected.size(), "line count", bytes);
    check(lines.empty() == (lines.size() == 0), "empty() agrees with size()");
    std::uint64_t joined = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        check(line == expected[i], "line text", line);
        check(line.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos,
              "a line holds CR, LF or NUL", line);
        joined += line.size() + 2;
    }
    check(lines.joinedLength() == joined, "joined length");

    // Assigning again replaces everything; clearing leaves nothing.
    LogLines again;
    again.assign("stale line\r\nand another\r\n");
    again.assign(bytes);
    check(again.size() == lines.size() && again.joinedLength() == joined, "assign replaces");
    again.clear();
    check(again.empty() && again.joinedLength() == 0, "clear empties");

    if (bytes.size() <= 4096)
        check(sameLinesReadInPieces(bytes, lines), "lines read in pieces differ", bytes);
    if (!bytes.empty()) {
        const std::size_t split = (bytes.size() * 2654435761u) % bytes.size();
        // Few bits for the distances: the index's groups held whole after a
        // line or a few, as they are in logs of long lines.
        const unsigned narrowBits =
            bytes.size() % 2 == 0 ? 16 : 2 + static_cast<unsigned>(split % 4);
        check(sameLinesReadInTwo(bytes, split, narrowBits, lines),
              "lines read by two threads differ", bytes);
    }

    // The NUL repair keeps every other byte, in order.
    std::string kept;
    for (char c : bytes) {
        if (c != '\0') kept += c;
    }
    check(withoutNulBytes(bytes) == kept, "withoutNulBytes", bytes);
    return 0;
}
