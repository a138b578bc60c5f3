// Which of the log texts the call scan looks for stand in one line. Every
// line of a gigabyte log passes through here, so the line is scanned once,
// sixteen places at a time, for a handful of letter pairs that ordinary lines
// seldom hold ("og", "yt", "Fr", "Er", "Pa", "La"), and the texts are compared
// only where one of them stands.
#pragma once

#include <cstdint>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// The texts whose letter pair starts at pos of line (line[pos] and
// line[pos + 1]), for walks that look for the pairs themselves.
std::uint32_t textsAtPair(std::string_view line, std::size_t pos);

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
