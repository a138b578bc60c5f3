// A log's lines handed from the thread that reads them to the pppd reader
// on another. Most lines of a system log are other programs': the reading
// thread tells those by the quick check of their prefix (readQuickly), so
// that the reader only notes their time, and copies the rest for the reader
// to read whole.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "pppd/LinePrefix.h"

namespace kestal {

// The quick check of one line (without its line end): 0 when the reader
// must read it whole, else the printed time of another program's line that
// it passes over, packed (see checkedTime).
std::uint32_t checkLine(std::string_view line);
PrintedTime checkedTime(std::uint32_t check);

// Lines of the log in order, checked.
struct CheckedBatch {
    std::uint64_t first = 0;            // the log's index of the first line
    std::vector<std::uint32_t> checks;  // one per line
    std::string text;                   // the lines whose check is 0, one after another
    std::vector<std::size_t> ends;      // where each of those ends in text

    void add(std::string_view line) {
        const std::uint32_t check = checkLine(line);
        checks.push_back(check);
        if (check != 0) return;
        text.append(line);
        ends.push_back(text.size());
    }
    std::size_t size() const { return checks.size(); }
};

// Where the reading thread puts each line.
class CheckedLineSink {
public:
    virtual ~CheckedLineSink() = default;
    virtual void add(std::string_view line) = 0;
};

// Runs produce on a thread of its own, which puts the log's lines into the
// sink it is given, while consume takes them, checked, a batch at a time and
// in order on the calling thread. Returns once both are done; what either
// throws is thrown here (the other then stops).
void readCheckedLines(const std::function<void(CheckedLineSink&)>& produce,
                      const std::function<void(const CheckedBatch&)>& consume);

// Whether the lines are worth a second thread: a log of at least this many
// lines, on a machine with two processors or more.
bool worthCheckingApart(std::uint64_t lines);

}  // namespace kestal
