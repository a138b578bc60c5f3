// The call scan over a log read as a stream: each call is handed on as soon
// as its block ends, and nothing of the log is kept but the call at hand.
#pragma once

#include "calls/CallRow.h"
#include "calls/LineStream.h"
#include "platform/RegionalSettings.h"

namespace kestal {

// Reads lines to their end and hands every call to sink, in the order of the
// log: the same rows, in the same order, as scanCalls writes into a table
// from the same lines.
void streamCalls(LineStream& lines, const RegionalSettings& settings, const CallRowSink& sink);

}  // namespace kestal
