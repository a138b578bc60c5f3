// Which of the log texts the call scan looks for stand in one line. Every
// line of a gigabyte log passes through here, so the line is scanned once,
// sixteen places at a time, for a handful of letter pairs that ordinary lines
// seldom hold ("og", "yt", "Fr", "Er", "Pa", "La"), and the texts are compared
// only where one of them stands.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "calls/CallBounds.h"

namespace kestal::linematch {

// One bit per recognised text.
enum Text : std::uint32_t {
    LogOpened = 1u << 0,
    LogClosed = 1u << 1,
    BytesReceived = 1u << 2,
    BytesTransmitted = 1u << 3,
    FramesReceived = 1u << 4,
    FramesTransmitted = 1u << 5,
    CrcErrors = 1u << 6,
    TimeoutErrors = 1u << 7,
    AlignmentErrors = 1u << 8,
    OverrunErrors = 1u << 9,
    FramingErrors = 1u << 10,
    BufferOverrunErrors = 1u << 11,
    IncompletePackets = 1u << 12,
    LcpUp = 1u << 13,
    ChapUp = 1u << 14,
    IpcpUp = 1u << 15,
    CcpFinished = 1u << 16,
    CcpUp = 1u << 17,
};

inline constexpr int kTextCount = 18;

// The text each bit stands for, by bit number.
std::string_view textOf(int bit);

// The bits of every text that occurs somewhere in line (case-sensitive).
std::uint32_t matchLine(std::string_view line);

// The same without vector instructions; matchLine uses it where they are
// missing.
std::uint32_t matchLinePlain(std::string_view line);

namespace detail {

// Whether text stands in line with its letter pair (at pairAt within text)
// at position pos. text is a constant, so the comparison is a few loads.
[[gnu::always_inline]] inline std::uint32_t textAt(std::string_view line, std::size_t pos,
                                                   std::string_view text, std::size_t pairAt,
                                                   std::uint32_t bit) {
    if (pos < pairAt) return 0;
    const std::size_t start = pos - pairAt;
    if (line.size() - start < text.size()) return 0;
    return std::memcmp(line.data() + start, text.data(), text.size()) == 0 ? bit : 0;
}

}  // namespace detail

// The texts whose letter pair starts at pos of line (line[pos] and
// line[pos + 1]), for walks that look for the pairs themselves. Inline:
// every letter pair of a log comes here.
inline std::uint32_t textsAtPair(std::string_view line, std::size_t pos) {
    using detail::textAt;
    const char second = line[pos + 1];
    switch (line[pos]) {
        case 'o':
            if (second != 'g') return 0;
            return textAt(line, pos, kCallOpenedText, 1, LogOpened) |
                   textAt(line, pos, kCallClosedText, 1, LogClosed);
        case 'y':
            if (second != 't') return 0;
            return textAt(line, pos, "Bytes Re", 1, BytesReceived) |
                   textAt(line, pos, "Bytes Tr", 1, BytesTransmitted);
        case 'F':
            if (second != 'r') return 0;
            return textAt(line, pos, "Frames Re", 0, FramesReceived) |
                   textAt(line, pos, "Frames Tr", 0, FramesTransmitted);
        case 'E':
            if (second != 'r') return 0;
            return textAt(line, pos, "CRC Errors", 4, CrcErrors) |
                   textAt(line, pos, "Timeout Errors", 8, TimeoutErrors) |
                   textAt(line, pos, "Alignment Errors", 10, AlignmentErrors) |
                   textAt(line, pos, "- Overrun Errors", 10, OverrunErrors) |
                   textAt(line, pos, "Framing Errors", 8, FramingErrors) |
                   textAt(line, pos, "Buffer Overrun Errors", 15, BufferOverrunErrors);
        case 'P':
            if (second != 'a') return 0;
            return textAt(line, pos, "Incomplete Packets", 11, IncompletePackets);
        case 'L':
            if (second != 'a') return 0;
            return textAt(line, pos, "LCP : Layer up", 6, LcpUp) |
                   textAt(line, pos, "CHAP : Layer up", 7, ChapUp) |
                   textAt(line, pos, "IPCP : Layer up", 7, IpcpUp) |
                   textAt(line, pos, "CCP : Layer finished", 6, CcpFinished) |
                   textAt(line, pos, "CCP : Layer up", 6, CcpUp);
        default:
            return 0;
    }
}

#if defined(__SSE2__)
// One bit for each of the 16 positions from p on where a letter pair
// starts; reads p[0] to p[16].
inline unsigned pairStarts(const char* p) {
    const __m128i first = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i second = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 1));
    auto pair = [&](char a, char b) {
        return _mm_and_si128(_mm_cmpeq_epi8(first, _mm_set1_epi8(a)),
                             _mm_cmpeq_epi8(second, _mm_set1_epi8(b)));
    };
    // "Er" and "Fr" share their second letter, and so do "La" and "Pa".
    const __m128i r = _mm_cmpeq_epi8(second, _mm_set1_epi8('r'));
    const __m128i a = _mm_cmpeq_epi8(second, _mm_set1_epi8('a'));
    const __m128i er = _mm_or_si128(_mm_cmpeq_epi8(first, _mm_set1_epi8('E')),
                                    _mm_cmpeq_epi8(first, _mm_set1_epi8('F')));
    const __m128i la = _mm_or_si128(_mm_cmpeq_epi8(first, _mm_set1_epi8('L')),
                                    _mm_cmpeq_epi8(first, _mm_set1_epi8('P')));
    const __m128i hits = _mm_or_si128(_mm_or_si128(pair('o', 'g'), pair('y', 't')),
                                      _mm_or_si128(_mm_and_si128(er, r), _mm_and_si128(la, a)));
    return static_cast<unsigned>(_mm_movemask_epi8(hits));
}
#endif

}  // namespace kestal::linematch
