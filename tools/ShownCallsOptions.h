// kestal-calls' options that choose and order the calls as the viewer's
// filter bar and column titles do: --sort, --from, --to, --errors and
// --cut-short (the dial-up log's), --dropped and --failed (the pppd log's). The filter applies
// first, then the sort; the rows written are those that File > Save Shown Calls As writes for the
// same view.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calls/CallFilter.h"
#include "calls/CallRow.h"
#include "output/TableLines.h"
#include "table/CallOrder.h"

namespace kestal::tool {

struct ShownCallsOptions {
    std::optional<SortOrder> sort;
    std::string sortName;  // as given, until the kind of log is known
    CallFilter filter;
    // The pppd log's rows: a row passes when it is any of those asked for.
    bool dropped = false;
    bool failed = false;
    bool given() const { return sort || !sortName.empty() || filter.active() || dropped || failed; }
};

// Reads --sort's column name against the columns of the log at hand;
// throws UsageError when it names none of them.
void resolveSort(ShownCallsOptions& options, TableColumns columns);

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
    ShownCallsWriter(const ShownCallsOptions& options, TableLineWriter& table);
    void write(const CallRow& row);
    // Without a sort a shown call's line can be made as soon as its call is
    // walked, on any thread: appendLine appends it, line end included, to
    // text (nothing for a call the filter hides); the lines are then
    // written in the order of the log, and tookCalls told how many calls
    // they came from.
    bool linesAsCallsCome() const { return !options_.sort; }
    void appendLine(const CallRow& row, std::string& text) const;
    void tookCalls(std::size_t calls) { anyCall_ = anyCall_ || calls > 0; }
    void finish();

private:
    bool hides(const CallRow& row) const;

    const ShownCallsOptions& options_;
    TableLineWriter& table_;
    bool anyCall_ = false;
    CallTable kept_{kDialUpColumns};  // the calls that passed, while a sort waits for them
    int keptRows_ = 0;
};

}  // namespace kestal::tool
