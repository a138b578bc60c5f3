#include "calls/CallStream.h"

#include "calls/CallWalker.h"
#include "calls/LineMatcher.h"

namespace kestal {

void streamCalls(LineStream& lines, const RegionalSettings& settings, const CallRowSink& sink) {
    CallWalker walker(settings, sink);
    std::string_view last;
    for (auto batch = lines.nextBatch(); !batch.empty(); batch = lines.nextBatch()) {
        for (const LineStream::MatchedLine& line : batch) walker.line(line.text, line.texts);
        last = batch.back().text;
        walker.holdCallAtHand();
    }
    walker.end(last);
}

}  // namespace kestal
