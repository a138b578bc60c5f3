#include "log/LineMatcher.h"

#include <array>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace kestal::linematch {

namespace {

struct Pattern {
    std::string_view text;
    char anchor;  // a letter of text that ordinary log lines seldom hold
    std::uint32_t bit;
};

// Ordered by bit number. Every text holds its anchor letter; a text is looked
// for only where its anchor letter stands in the line.
constexpr std::array<Pattern, kTextCount> kPatterns = {{
    {"log opened", 'g', LogOpened},
    {"log closed", 'g', LogClosed},
    {"Bytes Re", 'y', BytesReceived},
    {"Bytes Tr", 'y', BytesTransmitted},
    {"Frames Re", 'F', FramesReceived},
    {"Frames Tr", 'F', FramesTransmitted},
    {"CRC Errors", 'E', CrcErrors},
    {"Timeout Errors", 'E', TimeoutErrors},
    {"Alignment Errors", 'E', AlignmentErrors},
    {"- Overrun Errors", 'E', OverrunErrors},
    {"Framing Errors", 'E', FramingErrors},
    {"Buffer Overrun Errors", 'E', BufferOverrunErrors},
    {"Incomplete Packets", 'k', IncompletePackets},
    {"LCP : Layer up", 'y', LcpUp},
    {"CHAP : Layer up", 'y', ChapUp},
    {"IPCP : Layer up", 'y', IpcpUp},
    {"CCP : Layer finished", 'y', CcpFinished},
    {"CCP : Layer up", 'y', CcpUp},
}};

constexpr std::array<char, 5> kAnchors = {'g', 'y', 'F', 'E', 'k'};

// The patterns of one anchor letter, with where the letter stands in each.
struct AnchorGroup {
    std::array<std::uint8_t, kTextCount> patterns{};
    std::array<std::uint8_t, kTextCount> offsets{};
    int count = 0;
};

struct Tables {
    std::array<std::uint8_t, 256> groupOf{};  // 0: not an anchor; else group + 1
    std::array<AnchorGroup, kAnchors.size()> groups{};
};

constexpr Tables makeTables() {
    Tables t;
    for (std::size_t a = 0; a < kAnchors.size(); ++a)
        t.groupOf[static_cast<unsigned char>(kAnchors[a])] = static_cast<std::uint8_t>(a + 1);
    for (std::size_t p = 0; p < kPatterns.size(); ++p) {
        const std::size_t g = t.groupOf[static_cast<unsigned char>(kPatterns[p].anchor)] - 1;
        AnchorGroup& group = t.groups[g];
        group.patterns[static_cast<std::size_t>(group.count)] = static_cast<std::uint8_t>(p);
        group.offsets[static_cast<std::size_t>(group.count)] =
            static_cast<std::uint8_t>(kPatterns[p].text.find(kPatterns[p].anchor));
        ++group.count;
    }
    return t;
}

constexpr Tables kTables = makeTables();

// The patterns of the anchor letter at position at, compared in place.
inline std::uint32_t matchAt(std::string_view line, std::size_t at) {
    const AnchorGroup& group =
        kTables.groups[kTables.groupOf[static_cast<unsigned char>(line[at])] - 1];
    std::uint32_t found = 0;
    for (int i = 0; i < group.count; ++i) {
        const std::size_t offset = group.offsets[static_cast<std::size_t>(i)];
        if (offset > at) continue;
        const Pattern& pattern = kPatterns[group.patterns[static_cast<std::size_t>(i)]];
        const std::size_t start = at - offset;
        if (line.size() - start < pattern.text.size()) continue;
        if (std::memcmp(line.data() + start, pattern.text.data(), pattern.text.size()) == 0)
            found |= pattern.bit;
    }
    return found;
}

std::uint32_t matchFrom(std::string_view line, std::size_t from) {
    std::uint32_t found = 0;
    for (std::size_t i = from; i < line.size(); ++i)
        if (kTables.groupOf[static_cast<unsigned char>(line[i])] != 0) found |= matchAt(line, i);
    return found;
}

}  // namespace

std::string_view textOf(int bit) { return kPatterns[static_cast<std::size_t>(bit)].text; }

std::uint32_t matchLinePlain(std::string_view line) { return matchFrom(line, 0); }

std::uint32_t matchLine(std::string_view line) {
#if defined(__SSE2__)
    // Sixteen bytes at a time: one mask of the places where any anchor
    // letter stands.
    const __m128i g = _mm_set1_epi8(kAnchors[0]);
    const __m128i y = _mm_set1_epi8(kAnchors[1]);
    const __m128i f = _mm_set1_epi8(kAnchors[2]);
    const __m128i e = _mm_set1_epi8(kAnchors[3]);
    const __m128i k = _mm_set1_epi8(kAnchors[4]);
    std::uint32_t found = 0;
    std::size_t i = 0;
    for (; i + 16 <= line.size(); i += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(line.data() + i));
        const __m128i hits =
            _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, g), _mm_cmpeq_epi8(v, y)),
                         _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, f), _mm_cmpeq_epi8(v, e)),
                                      _mm_cmpeq_epi8(v, k)));
        auto bits = static_cast<unsigned>(_mm_movemask_epi8(hits));
        while (bits != 0) {
            found |= matchAt(line, i + static_cast<std::size_t>(__builtin_ctz(bits)));
            bits &= bits - 1;
        }
    }
    return found | matchFrom(line, i);
#else
    return matchFrom(line, 0);
#endif
}

}  // namespace kestal::linematch
