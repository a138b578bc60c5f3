// Reading pppd logs given as text in the tests, and a row as one line of
// tab-separated cells.
#pragma once

#include <cstdlib>
#include <ctime>
#include <string>
#include <string_view>

#include "pppd/PppdReader.h"

namespace kestal::test {

// 2026-12-08 12:00:00 UTC: the newest time of the tests' logs.
inline constexpr std::int64_t kTestNewest = 1796731200;

// The tests read times in UTC whatever the machine's zone.
inline void useUtc() {
    setenv("TZ", "UTC", 1);
    tzset();
}

inline PppdReadOptions testOptions(std::int64_t newest = kTestNewest) {
    useUtc();
    PppdReadOptions options;
    options.newestTime = newest;
    return options;
}

// Each line of text, without its line end.
template <typename Take>
void forEachLine(std::string_view text, Take take) {
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        take(text.substr(start, end - start));
        start = end + 1;
    }
}

// The text's lines fed to the reader one by one.
inline void feedText(PppdReader& reader, std::string_view text) {
    std::uint64_t index = 0;
    forEachLine(text, [&](std::string_view line) { reader.addLine(index++, line); });
}

inline PppdLog readText(std::string_view text, const PppdReadOptions& options = testOptions()) {
    PppdReader reader(options);
    feedText(reader, text);
    return reader.table();
}

// The same, the lines checked first (as a second thread checks them) and
// handed to the reader batchLines at a time.
inline PppdLog readTextChecked(std::string_view text, std::size_t batchLines,
                               const PppdReadOptions& options = testOptions()) {
    PppdReader reader(options);
    CheckedBatch batch;
    const auto handOver = [&] {
        reader.add(batch);
        const std::uint64_t next = batch.first + batch.size();
        batch.clear();
        batch.first = next;
    };
    forEachLine(text, [&](std::string_view line) {
        batch.add(line, options.localMonths);
        if (batch.size() == batchLines) handOver();
    });
    if (batch.size() > 0) handOver();
    return reader.table();
}

inline std::string rowText(const PppdLog& log, int row) {
    std::string text;
    for (int column = 0; column < kPppdColumnCount; ++column) {
        if (column > 0) text += '\t';
        text += log.table.cell(column, row);
    }
    return text;
}

// Every row, one a line.
inline std::string tableText(const PppdLog& log) {
    std::string text;
    if (log.table.callCount() == 0) return text;
    for (int row = 0; row < log.table.rowCount(); ++row) text += rowText(log, row) + '\n';
    return text;
}

}  // namespace kestal::test
