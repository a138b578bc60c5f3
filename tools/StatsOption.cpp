#include "StatsOption.h"

#include "ToolMessages.h"

namespace kestal::tool {

namespace {

constexpr std::string_view kBy = "--by";

StatisticsPeriod periodNamed(std::string_view name) {
    if (name == "all") return StatisticsPeriod::All;
    if (name == "day") return StatisticsPeriod::Day;
    if (name == "week") return StatisticsPeriod::Week;
    if (name == "month") return StatisticsPeriod::Month;
    throw UsageError{"unknown period '" + std::string(name) + "' (all, day, week or month)"};
}

}  // namespace

bool takeStatsOption(const std::vector<std::string_view>& args, std::size_t& index,
                     StatsOptions& stats) {
    const std::string_view arg = args[index];
    if (arg == "--stats") {
        stats.wanted = true;
        return true;
    }
    if (arg == "--outages") {
        stats.outages = true;
        return true;
    }
    if (arg.starts_with(kBy) && arg.size() > kBy.size() && arg[kBy.size()] == '=') {
        stats.by = periodNamed(arg.substr(kBy.size() + 1));
        return true;
    }
    if (arg != kBy) return false;
    if (index + 1 >= args.size()) throw UsageError{"option '--by' needs a value"};
    stats.by = periodNamed(args[++index]);
    return true;
}

StatisticsLayout statisticsLayout(const StatsOptions& stats, std::optional<ExportLayout> format,
                                  const std::optional<std::string>& outPath) {
    if (!stats.wanted && !stats.outages) throw UsageError{"--by goes with --stats"};
    if (!format && outPath) format = layoutForPath(*outPath);
    if (!format || *format == ExportLayout::TabSeparated) return StatisticsLayout::TabSeparated;
    if (*format == ExportLayout::CommaSeparated) return StatisticsLayout::CommaSeparated;
    throw UsageError{stats.outages ? "--outages writes tsv or csv" : "--stats writes tsv or csv"};
}

StatisticsSink::StatisticsSink(const StatsOptions& stats, const CallFilter& filter)
    : filter_(filter), statistics_(stats.by.value_or(StatisticsPeriod::All)) {}

void StatisticsSink::add(const CallRow& row) {
    if (filter_.active() && !passes(row.values, row.marks, filter_)) return;
    statistics_.add(callValuesOf(row.values, row.marks));
}

void StatisticsSink::write(StatisticsLayout layout, bool header,
                           const std::function<void(std::string_view)>& writeLine) const {
    if (header) writeLine(statisticsHeaderLine(layout));
    for (const StatisticsRow& row : statistics_.rows()) writeLine(statisticsLine(row, layout));
}

}  // namespace kestal::tool
