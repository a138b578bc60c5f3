// kestal-calls on a pppd log: the sessions and failed attempts as a table
// in the layouts of Save Table As, chosen and ordered as the viewer's
// filter bar and column titles do, or the lines of the rows that started
// at a given time.
#pragma once

#include <cstdint>
#include <string>

#include "ShownCallsOptions.h"
#include "StatsOption.h"
#include "ToolFiles.h"
#include "output/TableLines.h"
#include "pppd/PppdReader.h"

namespace kestal::tool {

// The log read through the pppd reader, one line at a time: nothing of it
// is kept but the table's rows. newestTime gives the years of dates
// printed without one.
void writePppdTable(LogInput& log, std::int64_t newestTime, const ShownCallsOptions& shown,
                    ExportLayout layout, bool header, Output& output);

// The figures per period of the rows shown (--stats), or the gaps of the
// whole log (--outages), each line followed by CR LF.
void writePppdFigures(LogInput& log, std::int64_t newestTime, const StatsOptions& stats,
                      const ShownCallsOptions& shown, StatisticsLayout layout, bool header,
                      Output& output);

// The whole log read into its table, with its span (--report).
PppdLog readWholePppdLog(LogInput& log, std::int64_t newestTime);

// The lines (as logged) of each row whose Start Time cell is start, a
// blank line between two rows; nothing when none starts then.
void writePppdDetails(LogInput& log, std::int64_t newestTime, const std::string& start,
                      Output& output);

}  // namespace kestal::tool
