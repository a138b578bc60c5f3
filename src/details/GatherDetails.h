// Finding one call's lines by its Start Time, line after line: shared by the
// search through LogLines and the search through a streamed log.
#pragma once

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>

#include "calls/CallBounds.h"
#include "details/DetailsWarnings.h"

namespace kestal::detailsgather {

inline bool contains(std::string_view text, std::string_view part) {
    return text.find(part) != std::string_view::npos;
}

// Positions 1 to 19 of the line (the whole line when it is shorter) equal
// startTime. Checked before anything else, as nearly every line fails it.
inline bool startsCall(std::string_view line, std::string_view startTime) {
    const std::size_t prefixLength = std::min(line.size(), kCallTimeLength);
    if (prefixLength != startTime.size()) return false;
    if (std::memcmp(line.data(), startTime.data(), prefixLength) != 0) return false;
    return contains(line, kCallOpenedText);
}

inline std::string warningText(std::size_t lineNumber) {
    std::string text(kCorruptLineWarningStart);
    text += std::to_string(lineNumber);
    text += kCorruptLineWarningEnd;
    return text;
}

// Hands emit the lines the details window shows for the call(s) whose "log
// opened" line starts with startTime, taking lines from next(line) until it
// returns false. Annotating one copied line is one guarded step: whatever
// goes wrong costs that line only, which a "Warning!" line then stands in
// for. What emit throws (a failed write) ends the search.
template <typename NextLine, typename Annotate, typename Emit>
void gatherLines(NextLine&& next, std::string_view startTime,
                 const DetailsWarningHandler& onWarning, const Annotate& annotate,
                 const Emit& emit) {
    // No line's first 19 characters can equal a longer text.
    if (startTime.size() > kCallTimeLength) return;
    std::size_t emitted = 0;
    std::string_view line;
    while (next(line)) {
        if (!startsCall(line, startTime)) continue;
        emit(std::string(line));
        ++emitted;
        // Copy up to the closing line, or up to the next call's opening
        // line, which is left out and not tried as a start itself.
        while (next(line)) {
            if (contains(line, kCallOpenedText)) break;
            std::string annotated;
            bool annotatedWell = false;
            try {
                annotated = annotate(line);
                annotatedWell = true;
            } catch (...) {
            }
            if (annotatedWell) {
                emit(std::move(annotated));
            } else {
                if (onWarning) onWarning(warningText(emitted));
                emit(std::string(kWarningLine));
            }
            ++emitted;
            if (contains(line, kDetailsClosedText)) break;
        }
    }
}

}  // namespace kestal::detailsgather
