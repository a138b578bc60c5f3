// The rows the pppd reader made, as the call table shows them: times with
// their years found, durations, sums and the words of Ended By.
#pragma once

#include "pppd/FinishedRows.h"
#include "pppd/PppdReader.h"

namespace kestal {

PppdLog makePppdLog(ReadSoFar&& read, const PppdReadOptions& options);

// Each finished row, in log order, as the table shows it.
void forEachPppdRow(const ReadSoFar& read, const PppdReadOptions& options, const PppdRowSink& sink);

// A date printed without its year: the year that puts the log's last such
// date (newest) at or before newestTime (seconds since the epoch, in the
// program's time zone), counting back the new years passed since a line.
int yearOf(const Stamp& stamp, const Stamp& newest, std::int64_t newestTime);

}  // namespace kestal
