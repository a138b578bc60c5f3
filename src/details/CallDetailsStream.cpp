#include "details/CallDetailsStream.h"

#include "details/GatherDetails.h"

namespace kestal {

void streamCallDetails(LineStream& lines, std::string_view startTime,
                       const DetailsWarningHandler& onWarning, const DetailsLineSink& sink) {
    detailsgather::gatherLines([&lines](std::string_view& line) { return lines.next(line); },
                               startTime, onWarning, annotateLine, sink);
}

}  // namespace kestal
