// Which of the log texts the call scan looks for stand in one line. Every
// line of a gigabyte log passes through here, so the line is scanned once,
// sixteen places at a time, for a handful of letter pairs that ordinary lines
// seldom hold ("og", "yt", "Fr", "Er", "Pa", "La"), and the texts are compared
// only where one of them stands.
#pragma once

#include <cstdint>
#include <string_view>

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

}  // namespace kestal::linematch
