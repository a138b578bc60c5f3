#include "calls/LineStream.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <vector>

#include "bytes/FileBytes.h"
#include "calls/LineMatcher.h"
#include "lines/ByteMasks.h"
#include "platform/Errors.h"
#include "platform/FileSystem.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace kestal {

namespace {

constexpr std::size_t kBlockSlack = 96;

bool isLineEnd(char c) { return c == '\r' || c == '\n' || c == '\0'; }

// The low count bits (count 0 to 64).
std::uint64_t lowBits64(std::ptrdiff_t count) {
    if (count <= 0) return 0;
    return count >= 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << count) - 1;
}

// The first CR, LF or NUL from begin on, end when there is none.
const char* findLineEnd(const char* begin, const char* end) {
    const char* at = begin;
#if defined(__SSE2__)
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i nul = _mm_setzero_si128();
    for (; end - at >= 16; at += 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
        const auto mask = static_cast<unsigned>(_mm_movemask_epi8(
            _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(block, cr), _mm_cmpeq_epi8(block, lf)),
                         _mm_cmpeq_epi8(block, nul))));
        if (mask != 0) return at + __builtin_ctz(mask);
    }
#endif
    while (at < end && !isLineEnd(*at)) ++at;
    return at;
}

// Leaves out the NUL bytes of text; returns how many bytes are left.
std::size_t dropNulBytes(char* text, std::size_t size) {
    char* nul = static_cast<char*>(std::memchr(text, '\0', size));
    if (nul == nullptr) return size;
    char* out = nul;
    for (const char* in = nul; in < text + size; ++in)
        if (*in != '\0') *out++ = *in;
    return static_cast<std::size_t>(out - text);
}

}  // namespace

LineStream::LineStream(int fd, std::string path, Options options)
    : fd_(fd), path_(std::move(path)), options_(std::move(options)) {
    options_.piece = std::max<std::size_t>(options_.piece, 1);
    if (options_.from >= 0) bufferStart_ = static_cast<std::uint64_t>(options_.from);
    if (options_.progress) expected_ = bytesLeftIn(fd);
}

bool LineStream::readPiece() {
    if (fileEnded_) return false;
    // The bytes not yet handed out go to the front of the buffer the piece
    // is read into, which grows when they leave less than a piece of room
    // (a long line).
    const std::size_t kept = end_ - begin_;
    const char* const from = text() + begin_;
    const int target = handedOut_ ? 1 - current_ : current_;
    Buffer& into = buffers_[target];
    if (into.capacity < kept + options_.piece) {
        const std::size_t capacity = std::max(kept + options_.piece, into.capacity * 2);
        // Room for a step of 64 bytes (and the byte after it) loaded at the
        // very end of the bytes read.
        std::unique_ptr<char[]> bigger(new char[capacity + kBlockSlack]());
        if (kept > 0) std::memcpy(bigger.get(), from, kept);
        into.bytes = std::move(bigger);
        into.capacity = capacity;
    } else if (kept > 0) {
        std::memmove(into.bytes.get(), from, kept);
    }
    current_ = target;
    handedOut_ = false;
    bufferStart_ += begin_;
    begin_ = 0;
    end_ = kept;
    const ssize_t got = readSome(fd_, into.bytes.get() + end_, options_.piece, readOffset());
    if (got < 0) throw cannotOpenFile(path_);
    if (got == 0) {
        fileEnded_ = true;
        return false;
    }
    const auto size = static_cast<std::size_t>(got);
    bytesRead_ += size;
    end_ += options_.dropNulBytes ? dropNulBytes(into.bytes.get() + end_, size) : size;
    if (options_.progress) options_.progress(bytesRead_, expected_);
    return true;
}

void LineStream::skipRest() {
    // Read into a buffer of its own: the last line handed out stays valid.
    std::vector<char> scratch(options_.piece);
    while (!fileEnded_) {
        const ssize_t got = readSome(fd_, scratch.data(), scratch.size(), readOffset());
        if (got < 0) throw cannotOpenFile(path_);
        if (got == 0) fileEnded_ = true;
        bytesRead_ += static_cast<std::uint64_t>(got);
        if (got > 0 && options_.progress) options_.progress(bytesRead_, expected_);
    }
}

std::int64_t LineStream::readOffset() const {
    if (options_.from < 0) return -1;
    return options_.from + static_cast<std::int64_t>(bytesRead_);
}

std::string_view LineStream::handOut(std::size_t end, std::size_t lineEndLength) {
    const std::string_view line(text() + begin_, end - begin_);
    lineStart_ = bufferStart_ + begin_;
    handedOut_ = true;
    lineBytes_ += line.size();
    ++lineCount_;
    begin_ = end + lineEndLength;
    scanned_ = 0;
    return line;
}

bool LineStream::next(std::string_view& line) {
    if (textEnded_) return false;
    for (;;) {
        const char* const bytes = text();
        const char* const at = findLineEnd(bytes + begin_ + scanned_, bytes + end_);
        if (at == bytes + end_) {
            scanned_ = end_ - begin_;
            if (readPiece()) continue;
            // The text after the last line end forms the last line.
            textEnded_ = true;
            textEnd_ = bufferStart_ + end_;
            if (begin_ == end_) return false;
            line = handOut(end_, 0);
            return true;
        }
        const auto end = static_cast<std::size_t>(at - bytes);
        if (*at == '\0') {
            // The first NUL ends the text and the line it stands in; a line
            // it would leave empty is no line.
            textEnded_ = true;
            textEnd_ = bufferStart_ + end;
            const bool hasLine = end > begin_;
            if (hasLine) line = handOut(end, 0);
            skipRest();
            return hasLine;
        }
        if (*at == '\r' && end + 1 == end_) {
            // A CR LF pair may be split between two pieces.
            scanned_ = end - begin_;
            if (readPiece()) continue;
            // The bytes may have moved: the CR stands scanned_ bytes on.
            line = handOut(begin_ + scanned_, 1);
            return true;
        }
        const bool pair = *at == '\r' && bytes[end + 1] == '\n';
        line = handOut(end, pair ? 2 : 1);
        return true;
    }
}

inline void LineStream::addToBatch(std::size_t end, std::size_t lineEndLength) {
    const std::string_view line(text() + begin_, end - begin_);
    std::uint32_t texts = 0;
    if (pairCount_ <= pairs_.size()) {
        for (std::size_t i = 0; i < pairCount_; ++i)
            texts |= linematch::textsAtPair(line, pairs_[i]);
    } else {
        texts = linematch::matchLine(line);  // more pairs than were kept
    }
    pairCount_ = 0;
    batch_.push_back({line, texts, bufferStart_ + begin_});
    lineStart_ = bufferStart_ + begin_;
    lineBytes_ += line.size();
    ++lineCount_;
    handedOut_ = true;
    begin_ = end + lineEndLength;
}

inline void LineStream::notePair(std::size_t at) {
    if (pairCount_ < pairs_.size()) pairs_[pairCount_] = static_cast<std::uint32_t>(at - begin_);
    ++pairCount_;
}

inline bool LineStream::batchLineEnd(std::size_t at) {
    if (at == pairedLf_) return true;
    const char c = text()[at];
    if (c == '\0') {
        // The first NUL ends the text and the line it stands in.
        if (at > begin_) addToBatch(at, 0);
        textEnded_ = true;
        textEnd_ = bufferStart_ + at;
        skipRest();
        return false;
    }
    std::size_t length = 1;
    if (c == '\r') {
        // A CR LF pair may be split between two pieces: the line waits.
        if (at + 1 == end_ && !fileEnded_) return false;
        if (at + 1 < end_ && text()[at + 1] == '\n') {
            length = 2;
            pairedLf_ = at + 1;
        }
    }
    addToBatch(at, length);
    return true;
}

void LineStream::cutBatch() {
    const char* const bytes = text();
    pairCount_ = 0;
    pairedLf_ = static_cast<std::size_t>(-1);
    bool going = true;
    // The masks of 64 steps of 64 bytes at a time; a step is about one line,
    // so that the branches follow the lines rather than the bytes.
    constexpr std::size_t kSteps = 64;
    std::array<std::uint64_t, kSteps> endMasks;
    std::array<std::uint64_t, kSteps> pairMasks;
    for (std::size_t stretch = begin_; stretch < end_ && going; stretch += kSteps * kMaskStep) {
        const std::size_t steps = std::min(kSteps, (end_ - stretch + kMaskStep - 1) / kMaskStep);
        findByteMasks(bytes + stretch, steps, endMasks.data(),
                      options_.matchTexts ? pairMasks.data() : nullptr);
        for (std::size_t step = 0; step < steps && going; ++step) {
            const std::size_t block = stretch + step * kMaskStep;
            const auto left = static_cast<std::ptrdiff_t>(end_ - block);
            std::uint64_t ends = endMasks[step] & lowBits64(left);
            // A pair needs its second letter read too.
            std::uint64_t pairs = options_.matchTexts ? pairMasks[step] & lowBits64(left - 1) : 0;
            for (; ends != 0 && going; ends &= ends - 1) {
                const auto bit = static_cast<unsigned>(__builtin_ctzll(ends));
                if (pairs != 0) {
                    const std::uint64_t beforeMask = (std::uint64_t{1} << bit) - 1;
                    for (std::uint64_t before = pairs & beforeMask; before != 0;
                         before &= before - 1)
                        notePair(block + static_cast<std::size_t>(__builtin_ctzll(before)));
                    pairs &= ~beforeMask;
                }
                going = batchLineEnd(block + bit);
            }
            for (; pairs != 0 && going; pairs &= pairs - 1)
                notePair(block + static_cast<std::size_t>(__builtin_ctzll(pairs)));
        }
    }
    if (textEnded_) return;
    if (!going || !fileEnded_) {
        pairCount_ = 0;  // the line not yet ended is cut again with more bytes
        return;
    }
    // The text after the last line end forms the last line.
    textEnded_ = true;
    textEnd_ = bufferStart_ + end_;
    if (begin_ < end_) {
        if (options_.matchTexts) pairCount_ = pairs_.size() + 1;
        addToBatch(end_, 0);
    }
}

std::span<const LineStream::MatchedLine> LineStream::nextBatch() {
    batch_.clear();
    while (!textEnded_) {
        cutBatch();
        if (!batch_.empty()) break;
        readPiece();
    }
    return batch_;
}

}  // namespace kestal
