// kestal-calls --stats: the figures of the Statistics window per period,
// summed up from the calls as they stream past.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calls/CallFilter.h"
#include "calls/CallRow.h"
#include "output/CallStatistics.h"
#include "output/TableExport.h"

namespace kestal::tool {

struct StatsOptions {
    bool wanted = false;
    std::optional<StatisticsPeriod> by;
    bool outages = false;  // --outages: a pppd log's gaps instead
};

// Takes "--stats", "--outages" and "--by PERIOD" (or "--by=PERIOD") at args[index],
// moving index past a separate value; false for any other argument. Throws
// UsageError for a period it doesn't know.
bool takeStatsOption(const std::vector<std::string_view>& args, std::size_t& index,
                     StatsOptions& stats);

// The layout of the figures: --format, else the OUTFILE name, else
// tab-separated. Throws UsageError for anything but tsv and csv, and for
// --by without --stats. The same layouts serve --outages.
StatisticsLayout statisticsLayout(const StatsOptions& stats, std::optional<ExportLayout> format,
                                  const std::optional<std::string>& outPath);

// Sums up the call rows that it is handed and the filter lets pass, one at
// a time: nothing of a row is kept but its duration.
class StatisticsSink {
public:
    StatisticsSink(const StatsOptions& stats, const CallFilter& filter);
    void add(const CallRow& row);
    // The header line when asked for, then one line per period.
    void write(StatisticsLayout layout, bool header,
               const std::function<void(std::string_view)>& writeLine) const;

private:
    CallFilter filter_;
    CallStatistics statistics_;
};

}  // namespace kestal::tool
