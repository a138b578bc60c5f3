#include "ShownCallsOptions.h"

#include <string>

#include "ToolMessages.h"
#include "pppd/PppdColumns.h"
#include "table/ValueReaders.h"

namespace kestal::tool {

const std::string_view kShownCallsHelp =
    "  --sort NAME[:desc] sort by the column whose tab-separated header is NAME\n"
    "                    (any case: \"Start Time\", \"Duration\", \"LCP\", \"Bytes Rx\",\n"
    "                    \"CRC Errors\" ...; for pppd logs \"PID\", \"Ended By\" ...),\n"
    "                    by value, rising or with :desc\n"
    "                    falling; cells without a value last, ties in log order\n"
    "  --from DATE       only calls that started on DATE (MM-DD-YYYY) or later\n"
    "  --to DATE         only calls that started on DATE or earlier\n"
    "  --errors          only calls with any of the seven error counters above 0\n"
    "  --cut-short       only calls cut short by the next one (End Time \"-\")\n"
    "  --dropped         pppd logs: only sessions that dropped (echo timeout, the\n"
    "                    peer, a hangup or unknown); with --failed, either\n"
    "  --failed          pppd logs: only failed attempts\n";

namespace {

// The value of "--name value" or "--name=value"; none when arg is another
// option.
std::optional<std::string> valueOf(std::string_view name, const std::vector<std::string_view>& args,
                                   std::size_t& index) {
    const std::string_view arg = args[index];
    if (arg.size() > name.size() && arg.starts_with(name) && arg[name.size()] == '=')
        return std::string(arg.substr(name.size() + 1));
    if (arg != name) return std::nullopt;
    if (index + 1 >= args.size())
        throw UsageError{"option '" + std::string(name) + "' needs a value"};
    return std::string(args[++index]);
}

std::chrono::year_month_day dateOf(std::string_view option, const std::string& text) {
    const std::optional<std::chrono::year_month_day> date = readCellDate(text);
    if (!date || text.size() != 10)
        throw UsageError{"option '" + std::string(option) + "': '" + text +
                         "' is no date MM-DD-YYYY"};
    return *date;
}

[[noreturn]] void throwUnknownSort(const std::string& name) {
    throw UsageError{"unknown column '" + name +
                     "' for --sort (a tab-separated header name, :desc after it to sort "
                     "falling)"};
}

}  // namespace

void resolveSort(ShownCallsOptions& options, TableColumns columns) {
    if (options.sortName.empty()) return;
    options.sort = parseSortOrder(columns, options.sortName);
    if (!options.sort) throwUnknownSort(options.sortName);
}

bool parseShownCallsOption(const std::vector<std::string_view>& args, std::size_t& index,
                           ShownCallsOptions& options) {
    const std::string_view arg = args[index];
    if (arg == "--errors") {
        options.filter.withErrors = true;
    } else if (arg == "--cut-short") {
        options.filter.cutShort = true;
    } else if (const auto from = valueOf("--from", args, index)) {
        options.filter.from = dateOf("--from", *from);
    } else if (const auto to = valueOf("--to", args, index)) {
        options.filter.to = dateOf("--to", *to);
    } else if (arg == "--dropped") {
        options.dropped = true;
    } else if (arg == "--failed") {
        options.failed = true;
    } else if (const auto sort = valueOf("--sort", args, index)) {
        options.sortName = *sort;
        options.sort = parseSortOrder(kDialUpColumns, *sort);
        // A name neither kind of log has is refused before any log is read.
        if (!options.sort && !parseSortOrder(kPppdColumns, *sort)) throwUnknownSort(*sort);
    } else {
        return false;
    }
    return true;
}

ShownCallsWriter::ShownCallsWriter(const ShownCallsOptions& options, TableLineWriter& table)
    : options_(options), table_(table) {}

bool ShownCallsWriter::hides(const CallRow& row) const {
    return options_.filter.active() && !passes(row.values, row.marks, options_.filter);
}

void ShownCallsWriter::write(const CallRow& row) {
    anyCall_ = true;
    if (hides(row)) return;
    if (!options_.sort) {
        table_.write(row.cells);
        return;
    }
    if (keptRows_ > 0) kept_.setRowCount(keptRows_ + 1);
    kept_.writeRow(keptRows_++, row.built());
}

void ShownCallsWriter::appendLine(const CallRow& row, std::string& text) const {
    if (!hides(row)) table_.appendLine(text, row.cells);
}

void ShownCallsWriter::finish() {
    if (!anyCall_) {
        table_.finish();
        return;
    }
    if (!options_.sort || keptRows_ == 0) return;
    RowTexts cells;
    for (const int row : sortedRows(kept_, options_.sort)) {
        for (int column = 0; column < kColumnCount; ++column)
            cells[static_cast<std::size_t>(column)] = kept_.cell(column, row);
        table_.write(cells);
    }
}

}  // namespace kestal::tool
