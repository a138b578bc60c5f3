// The statistics by day and the outages a generated pppd log must give,
// worked out from the generator's own rows (PppdLogMaker::rows) without
// the viewer's code, as kestal-calls --stats --by day --header and
// --outages --header write them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "PppdLogMaker.h"

namespace kestal::bench {

struct GeneratedFacts {
    std::vector<PppdLogMaker::Row> rows;  // in log order
    std::int64_t firstClock = 0;          // the log's first and last line
    std::int64_t lastClock = 0;
};

std::string expectedStatisticsByDay(const GeneratedFacts& facts);
std::string expectedOutages(const GeneratedFacts& facts);

}  // namespace kestal::bench
