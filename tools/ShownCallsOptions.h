// kestal-calls' options that choose and order the calls as the viewer's
// filter bar and column titles do: --sort, --from, --to, --errors and
// --cut-short. The filter applies first, then the sort; the rows written are
// those that File > Save Shown Calls As writes for the same view.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "log/CallFilter.h"
#include "log/CallOrder.h"
#include "output/TableLines.h"

namespace kestal::tool {

struct ShownCallsOptions {
    std::optional<SortOrder> sort;
    CallFilter filter;
    bool given() const { return sort || filter.active(); }
};

// The lines of --help that describe them.
extern const std::string_view kShownCallsHelp;

// When args[index] is one of these options, takes it (and its value, moving
// index on) into options and returns true; throws UsageError for a value it
// can't read.
bool parseShownCallsOption(const std::vector<std::string_view>& args, std::size_t& index,
                           ShownCallsOptions& options);

// Takes the calls as they come and hands the shown ones on to table: at
// once without a sort, all at the end with one. A log without any call
// gives the table's one empty row, filter or not, as the viewer shows it.
class ShownCallsWriter {
public:
    ShownCallsWriter(const ShownCallsOptions& options, const RegionalSettings& settings,
                     TableLineWriter& table);
    void write(const RowTexts& cells);
    void finish();

private:
    const ShownCallsOptions& options_;
    RegionalSettings settings_;
    TableLineWriter& table_;
    bool anyCall_ = false;
    CallTable kept_;  // the calls that passed, while a sort waits for them
    int keptRows_ = 0;
};

}  // namespace kestal::tool
