// Reading an open file into LogLines: a piece at a time, the lines cut
// while the piece is still in the cache; a big file read and cut by two
// threads at once, one from its start and one from its middle.

#include <algorithm>
#include <thread>

#include "bytes/ReadBuffer.h"
#include "bytes/SideBySide.h"
#include "lines/LineCutter.h"
#include "lines/LogLines.h"
#include "platform/Errors.h"
#include "platform/FileSystem.h"

namespace kestal {

namespace {

// Files this big are read by two threads at once (when there are two
// processors): reading a file copies it and clears the pages it goes to, and
// that work halves.
constexpr std::size_t kTwoThreadMinimum = std::size_t{16} << 20;
constexpr std::size_t kCacheLine = 64;

// Reads bytes from to to of what is left of an open file (its byte offset
// base on) into the room reserved in buffer, a piece at a time, calling
// afterPiece(how far the bytes read reach) after each piece. Returns how far
// they reach: less than to when the file ended sooner.
template <typename AfterPiece>
std::size_t readRange(int fd, off_t base, ReadBuffer& buffer, std::size_t from, std::size_t to,
                      const std::string& path, AfterPiece afterPiece) {
    std::size_t at = from;
    while (at < to) {
        const ssize_t got =
            buffer.readAt(fd, base + static_cast<off_t>(at), at, std::min(to - at, kBufferPiece));
        if (got < 0) throw cannotOpenFile(path);
        if (got == 0) break;
        at += static_cast<std::size_t>(got);
        afterPiece(at);
    }
    return at;
}

constexpr std::size_t kNone = static_cast<std::size_t>(-1);

// What the second thread reading a file works on: lines of its own, in
// cache lines of their own (were they to share one with what the first
// thread writes, the two would slow each other down at every line).
struct alignas(kCacheLine) LaterPart {
    LaterPart(std::size_t split, const LineEnds& like)
        : reach(split), ends(like.narrowBits()), cutter(ends, split) {}
    std::size_t reach;  // how far the bytes read reach
    LineEnds ends;
    LineCutter cutter;
    // The lines told so far end before this one; kNone until a line end
    // past the split shows where the lines that stay begin.
    std::size_t told = kNone;

    // Tells watch of the lines cut since it was last told, those before the
    // first line end past the split left out: only the first thread knows
    // where that line begins.
    void tell(LineWatch* watch, const char* text) {
        if (watch == nullptr) return;
        if (told == kNone) {
            std::size_t first = 0;
            while (first < ends.size() && (ends[first] >> 2) <= cutter.startedAt()) ++first;
            if (first == ends.size()) return;
            told = first + 1;
        }
        if (told < ends.size()) watch->fromMiddle({text, &ends, told, ends.size()});
        told = ends.size();
    }
};

// The same for the first thread, from the log's start on.
struct StartTeller {
    LineWatch* watch;
    std::size_t told = 0;

    // Tells watch of the lines before line upTo that it wasn't told yet.
    void tell(const LineEnds& ends, const char* text, std::size_t upTo) {
        if (watch != nullptr && told < upTo) watch->fromStart({text, &ends, told, upTo});
        told = std::max(told, upTo);
    }
    void tell(const LineEnds& ends, const char* text) { tell(ends, text, ends.size()); }
};

// Where the second thread starts reading a file of expected bytes, 0 for
// one thread alone: a small file is read before a thread would start.
std::size_t readingSplit(std::size_t expected) {
    if (expected < kTwoThreadMinimum || std::thread::hardware_concurrency() < 2) return 0;
    return expected / 2 / kBufferPiece * kBufferPiece;
}

}  // namespace

void LogLines::assignFrom(int fd, const std::string& path) {
    assignFrom(fd, path, readingSplit(bytesLeftIn(fd)), nullptr);
}

void LogLines::assignFrom(int fd, const std::string& path, std::size_t split) {
    assignFrom(fd, path, split, nullptr);
}

void LogLines::assignFrom(int fd, const std::string& path, LineWatch& watch) {
    assignFrom(fd, path, readingSplit(bytesLeftIn(fd)), &watch);
}

void LogLines::assignFrom(int fd, const std::string& path, std::size_t split, LineWatch* watch) {
    clear();
    const std::size_t expected = bytesLeftIn(fd);
    // Two threads read with positioned reads, from where fd stands on.
    const off_t base = split > 0 && split < expected ? positionOf(fd) : -1;
    if (base < 0) split = 0;
    ends_.reserve(expected / kIndexBytesPerLine + 1);
    alignas(kCacheLine) LineCutter cutter(ends_);
    StartTeller teller{watch};
    ReadBuffer buffer;
    const auto bytesRead = [&buffer](std::size_t reach) {
        return std::string_view(buffer.data(), reach);
    };
    try {
        if (split > 0) {
            // A file that can be held unchanged under a lease is read from
            // its own pages, without a copy; any other is copied.
            if (!buffer.mapLeased(fd, base, expected)) buffer.reserve(expected + 1);
            // The second thread reads and cuts the bytes from split on into
            // an index of its own while this one does those before.
            LaterPart later(split, ends_);
            std::size_t reach = 0;
            runSideBySide(
                [&] {
                    later.ends.reserve((expected - split) / kIndexBytesPerLine + 1);
                    later.reach =
                        readRange(fd, base, buffer, split, expected, path, [&](std::size_t at) {
                            prepareIndex(later.ends, kBufferPiece);
                            later.cutter.cut(at - 1, bytesRead(at));
                            later.tell(watch, buffer.data());
                        });
                },
                [&] {
                    // The last byte read waits for the next piece: a CR there
                    // may be the first half of a CR LF pair.
                    reach = readRange(fd, base, buffer, 0, split, path, [&](std::size_t at) {
                        prepareIndex(ends_, kBufferPiece);
                        cutter.cut(at - 1, bytesRead(at));
                        teller.tell(ends_, buffer.data());
                    });
                });
            // The bytes from split on join those before when these came whole
            // (the file may have shrunk meanwhile).
            const std::size_t joinedAt = reach == split
                                             ? cutter.takeOver(later.cutter, bytesRead(later.reach))
                                             : LineCutter::kNotJoined;
            if (joinedAt != LineCutter::kNotJoined) {
                reach = later.reach;
                teller.tell(ends_, buffer.data(), joinedAt);
                if (watch != nullptr)
                    watch->joined({buffer.data(), &ends_, joinedAt, ends_.size()});
                teller.told = ends_.size();
            } else if (watch != nullptr) {
                watch->middleDropped();
            }
            buffer.setSize(reach);
            // Whatever the file gained meanwhile is read on from there.
            if (!moveTo(fd, base + static_cast<off_t>(reach))) throw cannotOpenFile(path);
        }
        for (;;) {
            const ssize_t got = buffer.readPiece(fd, expected);
            if (got == 0) break;
            if (got < 0) throw cannotOpenFile(path);
            prepareIndex(ends_, static_cast<std::size_t>(got));
            cutter.cut(buffer.size() - 1, bytesRead(buffer.size()));
            teller.tell(ends_, buffer.data());
        }
        bytes_ = LogBytes(buffer.finish());
    } catch (...) {
        clear();
        throw;
    }
    const std::string_view all = bytes_.view();
    cutter.cut(all.size(), all);
    cutter.finish(all.size());
    lineEndBytes_ = cutter.lineEndBytes();
    teller.tell(ends_, all.data());
}

}  // namespace kestal
