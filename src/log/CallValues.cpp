#include "log/CallValues.h"

#include <algorithm>

namespace kestal {

std::string wideCountText(WideCount value) {
    std::string digits;
    do {
        digits.push_back(static_cast<char>('0' + static_cast<int>(value % 10)));
        value /= 10;
    } while (value != 0);
    std::reverse(digits.begin(), digits.end());
    return digits;
}

bool isCutShortEnd(std::string_view endCell) {
    if (endCell.empty() || endCell.front() != '-') return false;
    return endCell.find_first_not_of(' ', 1) == std::string_view::npos;
}

CallValues readCallValues(const RowTexts& cells, const RegionalSettings& settings) {
    CallValues call;
    call.startDate = readCellDate(cells[kStartTimeColumn]);
    if (call.startDate) call.startTime = readCellDateTime(cells[kStartTimeColumn]);
    call.duration = readDurationCell(cells[kDurationColumn], settings);
    call.cutShort = isCutShortEnd(cells[kEndTimeColumn]);
    for (int l = 0; l < kLayerColumnCount; ++l)
        call.layerTenths[l] = readLayerTenths(cells[kFirstLayerColumn + l], settings);
    for (int c = 0; c < kTrafficCounterCount; ++c)
        call.traffic[c] = readCountCell(cells[kFirstCounterColumn + c]);
    for (int e = 0; e < kErrorColumnCount; ++e) {
        if (const std::optional<std::uint64_t> count = readCountCell(cells[kFirstErrorColumn + e]))
            call.errors += *count;
    }
    return call;
}

CallValues readCallValues(const CallTable& table, int row, const RegionalSettings& settings) {
    RowTexts cells;
    for (int c = 0; c < kColumnCount; ++c) cells[c] = table.cell(columnAt(c), row);
    return readCallValues(cells, settings);
}

}  // namespace kestal
