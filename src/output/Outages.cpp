#include "output/Outages.h"

#include <algorithm>

#include "output/CsvField.h"
#include "output/PppdStatistics.h"
#include "pppd/PppdColumns.h"

namespace kestal {

namespace {

constexpr std::string_view kNone = "-";

bool inside(const Outage& outage, std::int64_t time) {
    return outage.start <= time && (!outage.end || time <= *outage.end);
}

// Rows of two Interfaces belong to different links; a row without one
// (an attempt that failed before it got one) to any.
bool sameLink(std::string_view one, std::string_view other) {
    return one == kNone || other == kNone || one == other;
}

std::string rowLine(const OutageRow& row, StatisticsLayout layout) {
    return statisticsFieldsLine(row, layout);
}

}  // namespace

std::vector<Outage> outagesOf(const CallTable& table) {
    const std::vector<int> reconnecting = reconnectingRows(table);
    std::vector<Outage> outages;
    if (table.callCount() == 0) return outages;
    std::vector<std::size_t> open;  // the gaps not yet closed by a row read
    for (int row = 0; row < table.rowCount(); ++row) {
        const std::uint32_t marks = table.marks(row);
        if ((marks & (kSessionMark | kFailedAttemptMark)) == 0) continue;
        std::erase_if(open, [&](std::size_t o) {
            return outages[o].closedBy >= 0 && outages[o].closedBy <= row;
        });
        const std::optional<std::int64_t> end = table.value(PppdColumn::EndTime, row).asNumber();
        if (!end) continue;
        const std::string_view interface = table.cell(PppdColumn::Interface, row);
        const bool withoutIp = table.cell(PppdColumn::LocalIp, row) == kNone;
        bool anyOpen = false;  // a gap of any link open when the row ended
        bool inGap = false;    // one of its own link
        for (const std::size_t o : open) {
            Outage& outage = outages[o];
            if (!inside(outage, *end)) continue;
            anyOpen = true;
            if (!sameLink(table.cell(PppdColumn::Interface, outage.openedBy), interface)) continue;
            inGap = true;
            if (withoutIp) ++outage.failedAttempts;
        }
        const bool opens =
            (marks & kDroppedMark) != 0 ? !inGap : (marks & kFailedAttemptMark) != 0 && !anyOpen;
        if (!opens) continue;
        Outage outage;
        outage.openedBy = row;
        outage.closedBy = reconnecting[static_cast<std::size_t>(row)];
        outage.start = *end;
        if (outage.closedBy >= 0)
            outage.end = table.value(PppdColumn::StartTime, outage.closedBy).asNumber();
        outage.failedAttempts = withoutIp ? 1 : 0;
        open.push_back(outages.size());
        outages.push_back(outage);
    }
    std::stable_sort(outages.begin(), outages.end(),
                     [](const Outage& a, const Outage& b) { return a.start < b.start; });
    return outages;
}

OutageRow outageRow(const CallTable& table, const Outage& outage) {
    OutageRow row;
    row[0] = table.cell(PppdColumn::EndTime, outage.openedBy);
    row[1] = outage.closedBy >= 0 ? std::string(table.cell(PppdColumn::StartTime, outage.closedBy))
                                  : std::string(kNone);
    const std::optional<std::int64_t> length = outage.length();
    row[2] = length ? hoursMinutesSeconds(*length) : std::string(kNone);
    row[3] = table.cell(PppdColumn::EndedBy, outage.openedBy);
    row[4] = std::to_string(outage.failedAttempts);
    return row;
}

std::string outagesText(const CallTable& table, const std::vector<Outage>& outages,
                        StatisticsLayout layout, bool header) {
    std::string text;
    if (header) {
        OutageRow names;
        std::copy(kOutageHeaders.begin(), kOutageHeaders.end(), names.begin());
        text += rowLine(names, layout) + "\r\n";
    }
    for (const Outage& outage : outages) text += rowLine(outageRow(table, outage), layout) + "\r\n";
    return text;
}

}  // namespace kestal
