#include "lines/ByteMasks.h"

#if defined(__SSE2__)
#include <immintrin.h>
#define KESTAL_X86_MASKS 1
#endif

namespace kestal {

namespace {

bool isLineEnd(char c) { return c == '\r' || c == '\n' || c == '\0'; }

// The pairs of LineMatcher: "og", "yt", "Er", "Fr", "La", "Pa".
bool isPair(char first, char second) {
    switch (second) {
        case 'g':
            return first == 'o';
        case 't':
            return first == 'y';
        case 'r':
            return first == 'E' || first == 'F';
        case 'a':
            return first == 'L' || first == 'P';
        default:
            return false;
    }
}

void findPlain(const char* text, std::size_t count, std::uint64_t* ends, std::uint64_t* pairs) {
    for (std::size_t k = 0; k < count; ++k) {
        const char* const p = text + k * kMaskStep;
        std::uint64_t endBits = 0;
        std::uint64_t pairBits = 0;
        for (std::size_t i = 0; i < kMaskStep; ++i) {
            endBits |= std::uint64_t{isLineEnd(p[i])} << i;
            if (pairs != nullptr) pairBits |= std::uint64_t{isPair(p[i], p[i + 1])} << i;
        }
        if (ends != nullptr) ends[k] = endBits;
        if (pairs != nullptr) pairs[k] = pairBits;
    }
}

#if defined(KESTAL_X86_MASKS)

// 16 bytes at first (and their second letters at first + 1).
std::uint64_t endsSse2(__m128i first) {
    const __m128i hits = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(first, _mm_set1_epi8('\r')),
                                                   _mm_cmpeq_epi8(first, _mm_set1_epi8('\n'))),
                                      _mm_cmpeq_epi8(first, _mm_setzero_si128()));
    return static_cast<std::uint16_t>(_mm_movemask_epi8(hits));
}

std::uint64_t pairsSse2(__m128i first, __m128i second) {
    const auto is = [](__m128i bytes, char c) { return _mm_cmpeq_epi8(bytes, _mm_set1_epi8(c)); };
    // "Er" and "Fr" share their second letter, and so do "La" and "Pa".
    const __m128i er = _mm_and_si128(_mm_or_si128(is(first, 'E'), is(first, 'F')), is(second, 'r'));
    const __m128i la = _mm_and_si128(_mm_or_si128(is(first, 'L'), is(first, 'P')), is(second, 'a'));
    const __m128i og = _mm_and_si128(is(first, 'o'), is(second, 'g'));
    const __m128i yt = _mm_and_si128(is(first, 'y'), is(second, 't'));
    const __m128i hits = _mm_or_si128(_mm_or_si128(og, yt), _mm_or_si128(er, la));
    return static_cast<std::uint16_t>(_mm_movemask_epi8(hits));
}

void findSse2(const char* text, std::size_t count, std::uint64_t* ends, std::uint64_t* pairs) {
    for (std::size_t k = 0; k < count; ++k) {
        std::uint64_t endBits = 0;
        std::uint64_t pairBits = 0;
        for (std::size_t part = 0; part < 4; ++part) {
            const char* const p = text + k * kMaskStep + part * 16;
            const __m128i first = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
            endBits |= endsSse2(first) << (part * 16);
            if (pairs == nullptr) continue;
            const __m128i second = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 1));
            pairBits |= pairsSse2(first, second) << (part * 16);
        }
        if (ends != nullptr) ends[k] = endBits;
        if (pairs != nullptr) pairs[k] = pairBits;
    }
}

[[gnu::target("avx2"), gnu::always_inline]] inline __m256i is(__m256i bytes, char c) {
    return _mm256_cmpeq_epi8(bytes, _mm256_set1_epi8(c));
}

[[gnu::target("avx2")]] void findAvx2(const char* text, std::size_t count, std::uint64_t* ends,
                                      std::uint64_t* pairs) {
    for (std::size_t k = 0; k < count; ++k) {
        std::uint64_t endBits = 0;
        std::uint64_t pairBits = 0;
        for (std::size_t part = 0; part < 2; ++part) {
            const char* const p = text + k * kMaskStep + part * 32;
            const __m256i first = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
            const __m256i lineEnds =
                _mm256_or_si256(_mm256_or_si256(is(first, '\r'), is(first, '\n')),
                                _mm256_cmpeq_epi8(first, _mm256_setzero_si256()));
            endBits |= std::uint64_t{static_cast<std::uint32_t>(_mm256_movemask_epi8(lineEnds))}
                       << (part * 32);
            if (pairs == nullptr) continue;
            const __m256i second = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + 1));
            const __m256i er =
                _mm256_and_si256(_mm256_or_si256(is(first, 'E'), is(first, 'F')), is(second, 'r'));
            const __m256i la =
                _mm256_and_si256(_mm256_or_si256(is(first, 'L'), is(first, 'P')), is(second, 'a'));
            const __m256i og = _mm256_and_si256(is(first, 'o'), is(second, 'g'));
            const __m256i yt = _mm256_and_si256(is(first, 'y'), is(second, 't'));
            const __m256i hits = _mm256_or_si256(_mm256_or_si256(og, yt), _mm256_or_si256(er, la));
            pairBits |= std::uint64_t{static_cast<std::uint32_t>(_mm256_movemask_epi8(hits))}
                        << (part * 32);
        }
        if (ends != nullptr) ends[k] = endBits;
        if (pairs != nullptr) pairs[k] = pairBits;
    }
}

[[gnu::target("avx512bw"), gnu::always_inline]] inline std::uint64_t is(__m512i bytes, char c) {
    return _mm512_cmpeq_epi8_mask(bytes, _mm512_set1_epi8(c));
}

[[gnu::target("avx512bw")]] void findAvx512(const char* text, std::size_t count,
                                            std::uint64_t* ends, std::uint64_t* pairs) {
    for (std::size_t k = 0; k < count; ++k) {
        const char* const p = text + k * kMaskStep;
        const __m512i first = _mm512_loadu_si512(p);
        if (ends != nullptr) ends[k] = is(first, '\r') | is(first, '\n') | is(first, '\0');
        if (pairs == nullptr) continue;
        const __m512i second = _mm512_loadu_si512(p + 1);
        pairs[k] = ((is(first, 'E') | is(first, 'F')) & is(second, 'r')) |
                   ((is(first, 'L') | is(first, 'P')) & is(second, 'a')) |
                   (is(first, 'o') & is(second, 'g')) | (is(first, 'y') & is(second, 't'));
    }
}

ByteMaskFinder bestFinder() {
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx512bw")) return findAvx512;
    if (__builtin_cpu_supports("avx2")) return findAvx2;
    return findSse2;
}

#else

ByteMaskFinder bestFinder() { return findPlain; }

#endif

}  // namespace

void findByteMasks(const char* text, std::size_t count, std::uint64_t* ends, std::uint64_t* pairs) {
    static const ByteMaskFinder best = bestFinder();
    best(text, count, ends, pairs);
}

std::vector<NamedByteMaskFinder> byteMaskFinders() {
    std::vector<NamedByteMaskFinder> finders = {{"plain", findPlain}};
#if defined(KESTAL_X86_MASKS)
    finders.push_back({"SSE2", findSse2});
    if (__builtin_cpu_supports("avx2")) finders.push_back({"AVX2", findAvx2});
    if (__builtin_cpu_supports("avx512bw")) finders.push_back({"AVX-512", findAvx512});
#endif
    return finders;
}

}  // namespace kestal
