// One call's lines found in a streamed log, handed on one at a time.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "calls/LineStream.h"
#include "details/CallDetails.h"

namespace kestal {

// Receives the lines of a call's details in order, each once.
using DetailsLineSink = std::function<void(std::string&& line)>;

// Reads lines to their end and hands sink the lines that gatherCallDetails
// gathers from the same lines, in the same order.
void streamCallDetails(LineStream& lines, std::string_view startTime,
                       const DetailsWarningHandler& onWarning, const DetailsLineSink& sink);

}  // namespace kestal
