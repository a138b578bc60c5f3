#include "calls/CallStreamSideBySide.h"

#include <array>
#include <condition_variable>
#include <cstring>
#include <exception>
#include <limits>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "calls/CallWalker.h"
#include "calls/LineMatcher.h"
#include "calls/LineStream.h"
#include "platform/Errors.h"
#include "platform/FileSystem.h"

namespace kestal {

namespace {

namespace lm = linematch;

// Smaller files are walked before a second thread would pay off.
constexpr std::uint64_t kTwoThreadMinimum = std::uint64_t{16} << 20;
// Chunks walked or waiting at a time: each walker has one at hand, and the
// next ones are ready when the one being handed on is done.
constexpr std::size_t kChunksAtATime = 4;
constexpr int kWalkers = 2;

// A row's 18 cells packed for the generic sink: each cell's length in four
// bytes, then the cells back to back, then each value (its bits and state),
// the marks and whether the row is corrupt.
void packCells(const CallRow& row, std::string& text) {
    for (const std::string_view cell : row.cells) {
        const auto length = static_cast<std::uint32_t>(cell.size());
        text.append(reinterpret_cast<const char*>(&length), sizeof length);
    }
    for (const std::string_view cell : row.cells) text.append(cell);
    for (const CellValue& value : row.values) {
        const std::uint64_t bits = value.bits();
        text.append(reinterpret_cast<const char*>(&bits), sizeof bits);
        text.push_back(static_cast<char>(value.state()));
    }
    text.append(reinterpret_cast<const char*>(&row.marks), sizeof row.marks);
    text.push_back(row.corrupt ? '\1' : '\0');
}

void unpackCells(std::string_view text, const CallRowSink& sink) {
    CallRow row;
    while (!text.empty()) {
        std::array<std::uint32_t, kColumnCount> lengths{};
        std::memcpy(lengths.data(), text.data(), sizeof lengths);
        std::size_t at = sizeof lengths;
        for (std::size_t c = 0; c < kColumnCount; ++c) {
            row.cells[c] = text.substr(at, lengths[c]);
            at += lengths[c];
        }
        for (CellValue& value : row.values) {
            std::uint64_t bits = 0;
            std::memcpy(&bits, text.data() + at, sizeof bits);
            value =
                CellValue::fromBits(bits, static_cast<CellValue::State>(text[at + sizeof bits]));
            at += sizeof bits + 1;
        }
        std::memcpy(&row.marks, text.data() + at, sizeof row.marks);
        at += sizeof row.marks;
        row.corrupt = text[at] != '\0';
        text.remove_prefix(at + 1);
        sink(row);
    }
}

// What the walk of one chunk gives.
struct ChunkWalk {
    // Its rows as packed, kept until the chunks before it are handed on.
    std::string text;
    std::size_t calls = 0;
    std::vector<std::string> corruptStarts;
    std::uint64_t lineBytes = 0;
    std::uint64_t lineCount = 0;
    // The text ended (a NUL, the end of the file) before the next chunk:
    // nothing after this chunk counts.
    bool lastChunk = false;
    std::uint64_t readEnd = 0;  // how far this walk read
    std::uint64_t textEnd = 0;  // where its text ended, when it is the last chunk
    std::exception_ptr failure;
};

// The chunk from ownStart to nextStart (byte offsets in the file). Its
// calls are those whose "log opened" line starts in it; the last of them
// runs on past nextStart to its end. Its lines are those that start in it.
void walkChunk(int fd, const std::string& path, const RegionalSettings& settings,
               const ChunkRows& rows, std::uint64_t ownStart, std::uint64_t nextStart, bool first,
               ChunkWalk& walk) {
    LineStream::Options options;
    // One byte before the chunk tells whether a line starts at its first
    // byte (a line end stands there) or later.
    options.from = static_cast<std::int64_t>(first ? ownStart : ownStart - 1);
    LineStream lines(fd, path, options);
    CallWalker walker(
        settings,
        [&walk, &rows](const CallRow& row) {
            ++walk.calls;
            if (row.corrupt) walk.corruptStarts.emplace_back(row.cells[0]);
            rows.pack(row, walk.text);
        },
        rows.values);
    std::string_view last;
    for (auto batch = lines.nextBatch(); !batch.empty(); batch = lines.nextBatch()) {
        for (const LineStream::MatchedLine& line : batch) {
            if (line.start < ownStart) continue;  // the end of the previous chunk's last line
            if (line.start >= nextStart) {
                // The next chunk's lines: read only to end the call at hand.
                if (!walker.inCall()) return;
                if (line.texts & lm::LogOpened) {
                    walker.stopAt(line.text);
                    return;
                }
            } else {
                walk.lineBytes += line.text.size();
                ++walk.lineCount;
            }
            walker.line(line.text, line.texts);
        }
        last = batch.back().text;
        walker.holdCallAtHand();
    }
    walker.end(last);
    walk.lastChunk = lines.textEnd() < nextStart;
    walk.textEnd = lines.textEnd();
    walk.readEnd = static_cast<std::uint64_t>(options.from) + lines.bytesRead();
}

// Chunks handed out to the walkers in order, no more than kChunksAtATime
// ahead of the one being handed on.
class ChunkQueue {
public:
    explicit ChunkQueue(std::size_t count) : walks_(count) {}

    // The next chunk to walk; false when there is none or the walk stops.
    bool take(std::size_t& chunk) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] {
            return stopped_ || next_ >= walks_.size() || next_ < handedOn_ + kChunksAtATime;
        });
        if (stopped_ || next_ >= walks_.size()) return false;
        chunk = next_++;
        return true;
    }

    // A walk to fill: one handed back, whose room is already the process's
    // own, or a new one.
    std::unique_ptr<ChunkWalk> blankWalk() {
        const std::lock_guard lock(mutex_);
        if (spare_.empty()) return std::make_unique<ChunkWalk>();
        std::unique_ptr<ChunkWalk> walk = std::move(spare_.back());
        spare_.pop_back();
        return walk;
    }

    void handBack(std::unique_ptr<ChunkWalk> walk) {
        walk->text.clear();
        walk->calls = 0;
        walk->corruptStarts.clear();
        walk->lineBytes = 0;
        walk->lineCount = 0;
        walk->lastChunk = false;
        walk->readEnd = 0;
        const std::lock_guard lock(mutex_);
        spare_.push_back(std::move(walk));
    }

    void done(std::size_t chunk, std::unique_ptr<ChunkWalk> walk) {
        const std::lock_guard lock(mutex_);
        walks_[chunk] = std::move(walk);
        changed_.notify_all();
    }

    // Waits for the walk of chunk, and lets the walkers go on past it.
    std::unique_ptr<ChunkWalk> handOn(std::size_t chunk) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return walks_[chunk] != nullptr; });
        handedOn_ = chunk + 1;
        changed_.notify_all();
        return std::move(walks_[chunk]);
    }

    void stop() {
        const std::lock_guard lock(mutex_);
        stopped_ = true;
        changed_.notify_all();
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::unique_ptr<ChunkWalk>> walks_;
    std::vector<std::unique_ptr<ChunkWalk>> spare_;
    std::size_t next_ = 0;
    std::size_t handedOn_ = 0;
    bool stopped_ = false;
};

// The walkers stop however the handing on ends.
struct StopOnExit {
    ChunkQueue& queue;
    ~StopOnExit() { queue.stop(); }
};

}  // namespace

bool worthTwoThreads(std::uint64_t size) {
    return size >= kTwoThreadMinimum && std::thread::hardware_concurrency() >= 2;
}

StreamedSize streamCallsSideBySide(int fd, const std::string& path,
                                   const RegionalSettings& settings, const CallRowSink& sink,
                                   const ReadProgress& progress, std::size_t chunk) {
    const ChunkRows cells{packCells,
                          [&sink](const WalkedChunk& walked) { unpackCells(walked.text, sink); }};
    return streamCallsSideBySide(fd, path, settings, cells, progress, chunk);
}

StreamedSize streamCallsSideBySide(int fd, const std::string& path,
                                   const RegionalSettings& settings, const ChunkRows& rows,
                                   const ReadProgress& progress, std::size_t chunk) {
    const off_t base = positionOf(fd);
    const std::optional<FileStatus> status = fileStatus(fd);
    if (base < 0 || !status) throw cannotOpenFile(path);
    const std::uint64_t start = static_cast<std::uint64_t>(base);
    const std::uint64_t size = status->size > start ? status->size - start : 0;
    const std::size_t count = std::max<std::size_t>(1, (size + chunk - 1) / chunk);
    const auto chunkStart = [&](std::size_t k) { return start + k * std::uint64_t{chunk}; };
    // The last chunk runs to wherever the file ends by then.
    const auto chunkEnd = [&](std::size_t k) {
        return k + 1 < count ? chunkStart(k + 1) : std::numeric_limits<std::uint64_t>::max();
    };

    ChunkQueue queue(count);
    std::vector<std::jthread> walkers;
    const StopOnExit stopOnExit{queue};
    const auto walkChunks = [&] {
        std::size_t k = 0;
        while (queue.take(k)) {
            std::unique_ptr<ChunkWalk> walk = queue.blankWalk();
            try {
                walkChunk(fd, path, settings, rows, chunkStart(k), chunkEnd(k), k == 0, *walk);
            } catch (...) {
                walk->failure = std::current_exception();
            }
            queue.done(k, std::move(walk));
        }
    };
    for (int i = 0; i < kWalkers; ++i) {
        try {
            walkers.emplace_back(walkChunks);
        } catch (const std::system_error&) {
            break;
        }
    }
    // Without a thread to walk them, the chunks are walked here in turn.
    const auto walkOf = [&](std::size_t k) {
        if (!walkers.empty()) return queue.handOn(k);
        auto walk = std::make_unique<ChunkWalk>();
        walkChunk(fd, path, settings, rows, chunkStart(k), chunkEnd(k), k == 0, *walk);
        return walk;
    };

    StreamedSize sizes;
    for (std::size_t k = 0; k < count; ++k) {
        std::unique_ptr<ChunkWalk> walk = walkOf(k);
        if (walk->failure) std::rethrow_exception(walk->failure);
        rows.take({walk->text, walk->calls, walk->corruptStarts});
        sizes.joinedLength += walk->lineBytes + 2 * walk->lineCount;
        if (progress) progress(std::min(size, chunkStart(k + 1) - start), size);
        if (walk->lastChunk || k + 1 == count) {
            sizes.bytesRead = walk->readEnd - start;
            sizes.textEnd = walk->textEnd - start;
            break;
        }
        queue.handBack(std::move(walk));
    }
    return sizes;
}

}  // namespace kestal
