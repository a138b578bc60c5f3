#include "PppdCalls.h"

#include <array>
#include <chrono>
#include <limits>
#include <vector>

#include "ToolMessages.h"
#include "output/Outages.h"
#include "output/PppdStatistics.h"
#include "output/TableExport.h"
#include "platform/Errors.h"
#include "pppd/PppdReader.h"
#include "table/CallOrder.h"

namespace kestal::tool {

namespace {

std::int64_t daysOf(std::chrono::year_month_day date) {
    return std::chrono::sys_days(date).time_since_epoch().count();
}

bool shown(std::optional<std::int64_t> startDay, std::uint32_t marks,
           const ShownCallsOptions& options) {
    const CallFilter& filter = options.filter;
    if (filter.from || filter.to) {
        if (!startDay) return false;
        if (filter.from && *startDay < daysOf(*filter.from)) return false;
        if (filter.to && *startDay > daysOf(*filter.to)) return false;
    }
    std::uint32_t anyOf = 0;
    if (options.dropped) anyOf |= kDroppedMark;
    if (options.failed) anyOf |= kFailedAttemptMark;
    return anyOf == 0 || (marks & anyOf) != 0;
}

bool shown(const CallTable& table, int row, const ShownCallsOptions& options) {
    return shown(table.value(PppdColumn::StartTime, row).day(), table.marks(row), options);
}

// Reads every line of the log into reader; keep, when given, takes each
// line too. Without keep the lines are read and checked on a second thread
// while this one reads them into reader.
void readLines(LogInput& log, PppdReader& reader,
               const std::function<void(std::string_view)>& keep = {}) {
    if (!keep && worthCheckingApart(std::numeric_limits<std::uint64_t>::max())) {
        reader.addChecked([&log](CheckedLineSink& sink) {
            log.read({.matchTexts = false}, [&sink](LineStream& lines) {
                for (auto batch = lines.nextBatch(); !batch.empty(); batch = lines.nextBatch()) {
                    for (const LineStream::MatchedLine& line : batch) sink.add(line.text);
                }
            });
        });
        return;
    }
    log.read({}, [&](LineStream& lines) {
        std::string_view line;
        std::uint64_t index = 0;
        while (lines.next(line)) {
            reader.addLine(index++, line);
            if (keep) keep(line);
        }
    });
}

PppdReadOptions readOptions(std::int64_t newestTime, bool keepLines) {
    PppdReadOptions options;
    options.newestTime = newestTime;
    options.localMonths = regionalMonthNames();
    options.keepLines = keepLines;
    return options;
}

}  // namespace

void writePppdTable(LogInput& log, std::int64_t newestTime, const ShownCallsOptions& shownCalls,
                    ExportLayout layout, bool header, Output& output) {
    PppdReader reader(readOptions(newestTime, false));
    readLines(log, reader);
    try {
        if (shownCalls.sort) {
            // A sort needs every row at once.
            const PppdLog read = reader.finish();
            std::vector<int> rows;
            for (const int row : sortedRows(read.table, shownCalls.sort))
                if (shown(read.table, row, shownCalls)) rows.push_back(row);
            writeRows(output.writer(), read.table, rows, layout, header);
            return;
        }
        // Otherwise each row is written as it comes and forgotten.
        TextFileWriter& out = output.writer();
        if (header) {
            for (const std::string& line : headerLines(layout, kPppdColumns)) out.writeLine(line);
        }
        std::string line;
        bool anyRow = false;
        reader.finish([&](const BuiltRow& row, std::vector<std::uint64_t>&) {
            anyRow = true;
            const CellValue& start = row.values[indexOf(PppdColumn::StartTime)];
            if (!shown(start.day(), row.marks, shownCalls)) return;
            line.clear();
            appendRowLine(line, row.cells, layout, kPppdColumns);
            out.writeLine(line);
        });
        // A log without a row shows the table's one empty row, unless a
        // filter hides it.
        if (!anyRow && shown(std::nullopt, 0, shownCalls)) {
            line.clear();
            appendRowLine(line, std::array<std::string_view, kMostColumns>{}, layout, kPppdColumns);
            out.writeLine(line);
        }
    } catch (const CommandError& error) {
        throw FileError{output.name(), error.what()};
    }
}

void writePppdFigures(LogInput& log, std::int64_t newestTime, const StatsOptions& stats,
                      const ShownCallsOptions& shownCalls, StatisticsLayout layout, bool header,
                      Output& output) {
    PppdReader reader(readOptions(newestTime, false));
    readLines(log, reader);
    const PppdLog read = reader.finish();
    std::string text;
    if (stats.outages) {
        text = outagesText(read.table, outagesOf(read.table), layout, header);
    } else {
        std::vector<int> rows;
        for (int row = 0; row < read.table.rowCount(); ++row)
            if (shown(read.table, row, shownCalls)) rows.push_back(row);
        text = pppdStatisticsText(
            pppdStatisticsOf(read.table, rows, stats.by.value_or(StatisticsPeriod::All), read.span),
            layout, header);
    }
    output.write(text);
}

PppdLog readWholePppdLog(LogInput& log, std::int64_t newestTime) {
    PppdReader reader(readOptions(newestTime, false));
    readLines(log, reader);
    return reader.finish();
}

void writePppdDetails(LogInput& log, std::int64_t newestTime, const std::string& start,
                      Output& output) {
    PppdReader reader(readOptions(newestTime, true));
    // The lines are kept, joined, to be written again once the rows are known.
    std::string text;
    std::vector<std::uint64_t> ends;
    readLines(log, reader, [&](std::string_view line) {
        text.append(line);
        ends.push_back(text.size());
    });
    const PppdLog read = reader.finish();
    bool first = true;
    for (int row = 0; row < read.table.rowCount(); ++row) {
        if (read.table.cell(PppdColumn::StartTime, row) != start) continue;
        if (!first) output.writeLine("");
        first = false;
        for (const std::uint64_t index : read.linesOf(row)) {
            if (index >= ends.size()) continue;
            const std::uint64_t begin = index == 0 ? 0 : ends[index - 1];
            output.writeLine(std::string_view(text).substr(begin, ends[index] - begin));
        }
    }
}

}  // namespace kestal::tool
