#include "log/LineCutter.h"

#include <algorithm>
#include <array>

#include "log/ByteMasks.h"
#include "log/Pages.h"

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
    std::vector<std::uint64_t>& theirs = *later.ends_;
    const auto first =
        std::upper_bound(theirs.begin(), theirs.end(), later.from_,
                         [](std::size_t at, std::uint64_t end) { return at < (end >> 2); });
    // No line end after byte from: the cutting of those bytes is left to
    // the next cut, as if later had never run.
    if (first == theirs.end()) return kNotJoined;
    cut((*first >> 2) + 1, available);
    if (ended_) return kNotJoined;
    const std::size_t joinedAt = ends_->size();
    // A piece at a time, each piece's pages given back once copied: the
    // two copies of these lines never stand in memory whole at once.
    constexpr std::size_t kPiece = std::size_t{1} << 17;
    const std::uint64_t* const data = theirs.data();
    for (std::size_t from = static_cast<std::size_t>(first - theirs.begin()) + 1;
         from < theirs.size();) {
        const std::size_t to = std::min(theirs.size(), from + kPiece);
        if (ends_->capacity() >= ends_->size() + (to - from))
            populatePages(ends_->data() + ends_->size(),
                          ends_->data() + ends_->size() + (to - from));
        ends_->insert(ends_->end(), data + from, data + to);
        for (std::size_t entry = from; entry < to; ++entry) lineEndBytes_ += data[entry] & 3;
        releasePages(data + from, data + to);
        from = to;
    }
    scanned_ = later.scanned_;
    lineStart_ = later.lineStart_;
    pairedLf_ = later.pairedLf_;
    ended_ = later.ended_;
    return joinedAt;
}

void prepareIndex(std::vector<std::uint64_t>& ends, std::size_t bytes) {
    const std::size_t entries =
        std::min(ends.capacity(), ends.size() + bytes / kIndexBytesPerLine + 1);
    // Room the index already has, written or not: the pages stay its own.
    populatePages(ends.data() + ends.size(), ends.data() + entries);
}

}  // namespace kestal
