// The call scan of a log done while the log is read: each piece's lines
// are walked as soon as they are cut, while they are still in the cache,
// by the thread that cut them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "calls/CallWalker.h"
#include "lines/LogLines.h"
#include "platform/RegionalSettings.h"
#include "table/CallTable.h"

namespace kestal {

class CallScanWhileRead : public LineWatch {
public:
    // expectedBytes: about how big the log is, to make room for its calls
    // once (0: unknown).
    explicit CallScanWhileRead(const RegionalSettings& settings, std::uint64_t expectedBytes = 0);

    void fromStart(const LineRange& lines) override;
    void fromMiddle(const LineRange& lines) override;
    void joined(const LineRange& lines) override;
    void middleDropped() override;

    // Once lines are read whole: writes the rows scanCalls writes into
    // table, in its reset state, and into corruptRows the rows of the calls
    // whose start or end time can't be read, in the order of the log.
    void finish(const LogLines& lines, CallTable& table, std::vector<int>& corruptRows);

private:
    // One walk over a part of the log, with the rows it gives, in cache
    // lines of its own (the two walks run on two threads).
    struct alignas(64) Walk {
        explicit Walk(const RegionalSettings& settings);
        // Walks the lines of range, the next ones of its part of the log.
        void walk(const LineRange& range);
        void addRow(const CallRow& row);

        CallTable table{kDialUpColumns};
        std::vector<int> corruptRows;
        CallWalker walker;
        std::size_t lines = 0;                                    // lines walked
        std::size_t firstOpening = static_cast<std::size_t>(-1);  // the first "log opened" of them
    };

    Walk first_;
    Walk later_;
    Walk* tail_ = &first_;        // the walk the lines after the second part go to
    std::size_t laterStart_ = 0;  // the line the second walk began at
};

}  // namespace kestal
