#include "calls/LineMatcher.h"

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
    {kCallOpenedText, LogOpened},
    {kCallClosedText, LogClosed},
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
