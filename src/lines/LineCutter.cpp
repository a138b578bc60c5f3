#include "lines/LineCutter.h"

#include <algorithm>
#include <array>

#include "lines/ByteMasks.h"
#include "platform/Pages.h"

namespace kestal {

bool LineCutter::atSpecialByte(std::size_t at, std::string_view available) {
    if (at == pairedLf_) return true;
    const char c = available[at];
    if (c == '\0') {
        if (lineStart_ < at) addLine(at, 0);
        ended_ = true;
        return false;
    }
    if (c == '\r' && at + 1 < available.size() && available[at + 1] == '\n') {
        addLine(at, 2);
        pairedLf_ = at + 1;
        lineStart_ = at + 2;
    } else {
        addLine(at, 1);
        lineStart_ = at + 1;
    }
    return true;
}

void LineCutter::cut(std::size_t limit, std::string_view available) {
    if (ended_) return;
    const char* const text = available.data();
    std::size_t at = scanned_;
    // Where CR, LF and NUL stand, up to 64 steps of 64 bytes at a time.
    constexpr std::size_t kSteps = 64;
    std::array<std::uint64_t, kSteps> masks;
    while (!ended_ && at < limit && limit - at >= kMaskStep) {
        const std::size_t steps = std::min(kSteps, (limit - at) / kMaskStep);
        findByteMasks(text + at, steps, masks.data(), nullptr);
        for (std::size_t step = 0; step < steps && !ended_; ++step, at += kMaskStep) {
            for (std::uint64_t mask = masks[step]; mask != 0; mask &= mask - 1) {
                if (!atSpecialByte(at + static_cast<std::size_t>(__builtin_ctzll(mask)), available))
                    break;
            }
        }
    }
    for (; at < limit && !ended_; ++at) {
        const char c = text[at];
        if (c == '\r' || c == '\n' || c == '\0') atSpecialByte(at, available);
    }
    scanned_ = std::max(scanned_, limit);
}

std::size_t LineCutter::takeOver(LineCutter& later, std::string_view available) {
    if (ended_) return kNotJoined;
    const LineEnds& theirs = *later.ends_;
    // Their first line end after byte from.
    std::size_t low = 0;
    std::size_t high = theirs.size();
    while (low < high) {
        const std::size_t middle = low + (high - low) / 2;
        if ((theirs[middle] >> 2) > later.from_)
            high = middle;
        else
            low = middle + 1;
    }
    // No line end after byte from: the cutting of those bytes is left to
    // the next cut, as if later had never run.
    if (low == theirs.size()) return kNotJoined;
    cut((theirs[low] >> 2) + 1, available);
    if (ended_) return kNotJoined;
    const std::size_t joinedAt = ends_->size();
    // Their line ends, less those of the lines not taken over.
    lineEndBytes_ += later.lineEndBytes_;
    for (std::size_t entry = 0; entry <= low; ++entry) lineEndBytes_ -= theirs[entry] & 3;
    ends_->moveFrom(*later.ends_, low + 1, theirs.size());
    scanned_ = later.scanned_;
    lineStart_ = later.lineStart_;
    pairedLf_ = later.pairedLf_;
    ended_ = later.ended_;
    return joinedAt;
}

void prepareIndex(LineEnds& ends, std::size_t bytes) {
    ends.prepare(bytes / kIndexBytesPerLine + 1);
}

}  // namespace kestal
