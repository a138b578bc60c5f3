#include "log/LineMatcher.h"

#include <array>
#include <cstring>

namespace kestal::linematch {

namespace {

struct Pattern {
    std::string_view text;
    std::uint32_t bit;
};

// Ordered by bit number.
constexpr std::array<Pattern, kTextCount> kPatterns = {{
    {"log opened", LogOpened},
    {"log closed", LogClosed},
    {"Bytes Re", BytesReceived},
    {"Bytes Tr", BytesTransmitted},
    {"Frames Re", FramesReceived},
    {"Frames Tr", FramesTransmitted},
    {"CRC Errors", CrcErrors},
    {"Timeout Errors", TimeoutErrors},
    {"Alignment Errors", AlignmentErrors},
    {"- Overrun Errors", OverrunErrors},
    {"Framing Errors", FramingErrors},
    {"Buffer Overrun Errors", BufferOverrunErrors},
    {"Incomplete Packets", IncompletePackets},
    {"LCP : Layer up", LcpUp},
    {"CHAP : Layer up", ChapUp},
    {"IPCP : Layer up", IpcpUp},
    {"CCP : Layer finished", CcpFinished},
    {"CCP : Layer up", CcpUp},
}};

// Every text holds one of these letter pairs, which ordinary log lines
// seldom hold ("Configure", "magic" and "Sending" are full of single anchor
// letters, but not of these pairs). A text is looked for only where its pair
// stands: "og" of "log", "yt" of "Bytes", "Fr" of "Frames", "Er" of
// "Errors", "Pa" of "Packets", "La" of "Layer".
constexpr std::size_t kShortestText = 8;  // "Bytes Re"

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

}  // namespace

// The texts whose letter pair starts at pos (line[pos], line[pos + 1]).
std::uint32_t textsAtPair(std::string_view line, std::size_t pos) {
    const char second = line[pos + 1];
    switch (line[pos]) {
        case 'o':
            if (second != 'g') return 0;
            return textAt(line, pos, "log opened", 1, LogOpened) |
                   textAt(line, pos, "log closed", 1, LogClosed);
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

namespace {

#if defined(__SSE2__)
inline std::uint32_t textsInMask(std::string_view line, std::size_t base, unsigned bits) {
    std::uint32_t found = 0;
    while (bits != 0) {
        found |= textsAtPair(line, base + static_cast<std::size_t>(__builtin_ctz(bits)));
        bits &= bits - 1;
    }
    return found;
}
#endif

}  // namespace

std::string_view textOf(int bit) { return kPatterns[static_cast<std::size_t>(bit)].text; }

std::uint32_t matchLinePlain(std::string_view line) {
    std::uint32_t found = 0;
    if (line.size() < kShortestText) return found;
    for (std::size_t pos = 0; pos + 1 < line.size(); ++pos) found |= textsAtPair(line, pos);
    return found;
}

std::uint32_t matchLine(std::string_view line) {
#if defined(__SSE2__)
    const std::size_t size = line.size();
    if (size < kShortestText) return 0;
    // Pairs start at 0 to size - 2; each step looks at 16 of them.
    const std::size_t pairs = size - 1;
    if (size <= 16) {
        // Too short for a load that stays inside the line: a zero-padded
        // copy (no pair holds a NUL).
        char padded[32] = {};
        std::memcpy(padded, line.data(), size);
        const unsigned bits = pairStarts(padded) & ((1u << pairs) - 1);
        return textsInMask(line, 0, bits);
    }
    std::uint32_t found = 0;
    std::size_t i = 0;
    for (; i + 16 <= pairs; i += 16) found |= textsInMask(line, i, pairStarts(line.data() + i));
    if (i < pairs) {
        // The last pairs: one more step ending at the last byte, without
        // the positions already looked at.
        const std::size_t base = pairs - 16;
        const unsigned seen = (1u << (i - base)) - 1;
        found |= textsInMask(line, base, pairStarts(line.data() + base) & ~seen);
    }
    return found;
#else
    return matchLinePlain(line);
#endif
}

}  // namespace kestal::linematch
