#include "PppdExpectedFigures.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <map>
#include <optional>

namespace kestal::bench {

namespace {

using Row = PppdLogMaker::Row;
constexpr std::int64_t kDay = 86400;

std::int64_t dayOf(std::int64_t t) { return t >= 0 ? t / kDay : -((-t - 1) / kDay) - 1; }

std::string clockText(std::int64_t t, const char* pattern) {
    const std::time_t seconds = static_cast<std::time_t>(t);
    std::tm parts{};
    gmtime_r(&seconds, &parts);
    char text[32];
    std::strftime(text, sizeof text, pattern, &parts);
    return text;
}

std::string hms(std::int64_t s) {
    char text[32];
    std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", static_cast<long long>(s / 3600),
                  static_cast<long long>(s / 60 % 60), static_cast<long long>(s % 60));
    return text;
}

bool isDrop(const Row& row) {
    return row.session && (row.endedBy == "echo timeout" || row.endedBy == "peer" ||
                           row.endedBy == "hangup" || row.endedBy == "unknown");
}

bool bringsLinkBack(const Row& row) { return row.session && !row.localIp.empty() && row.start; }

// The row that brought the link back after row i, or none.
std::optional<std::size_t> backAfter(const std::vector<Row>& rows, std::size_t i) {
    if (!rows[i].end) return std::nullopt;
    for (std::size_t j = i + 1; j < rows.size(); ++j) {
        const Row& next = rows[j];
        if (!bringsLinkBack(next) || *next.start < *rows[i].end) continue;
        if (rows[i].interface.empty() || next.interface == rows[i].interface) return j;
    }
    return std::nullopt;
}

// Seconds within [from, to) during which at least one of the sessions was
// up: a sweep over their starts and ends.
std::int64_t upWithin(const GeneratedFacts& facts, std::int64_t from, std::int64_t to) {
    std::vector<std::pair<std::int64_t, int>> events;
    for (const Row& row : facts.rows) {
        if (!row.session) continue;
        const std::int64_t start = row.start.value_or(facts.firstClock);
        const std::optional<std::int64_t> end =
            row.endedBy == "still up" ? std::optional(facts.lastClock) : row.end;
        if (!end || *end <= start) continue;
        events.emplace_back(start, +1);
        events.emplace_back(*end, -1);
    }
    std::sort(events.begin(), events.end());
    std::int64_t up = 0;
    int count = 0;
    std::int64_t since = 0;
    for (const auto& [time, step] : events) {
        if (count > 0) up += std::max<std::int64_t>(0, std::min(time, to) - std::max(since, from));
        count += step;
        since = time;
    }
    return up;
}

const char* const kEndings[] = {"echo timeout",  "peer",           "hangup",
                                "stopped",       "idle",           "time limit",
                                "traffic limit", "auth failed",    "negotiation timeout",
                                "no PADO",       "connect script", "device",
                                "still up",      "unknown"};

}  // namespace

std::string expectedStatisticsByDay(const GeneratedFacts& facts) {
    std::string text =
        "Period\tSessions\tFailed Attempts\tDrops\tOnline Time\tAvailability\tLongest "
        "Session\tMedian Session\tMean Time to Reconnect\tBytes Sent\tBytes Received\tEcho "
        "Timeout\tPeer\tHangup\tStopped\tIdle\tTime Limit\tTraffic Limit\tAuth "
        "Failed\tNegotiation Timeout\tNo PADO\tConnect Script\tDevice\tStill Up\tUnknown\r\n";
    // Days by their number; the rows without a start last.
    std::map<std::int64_t, std::vector<std::size_t>> days;
    for (std::size_t i = 0; i < facts.rows.size(); ++i) {
        const Row& row = facts.rows[i];
        days[row.start ? dayOf(*row.start) : INT64_MAX].push_back(i);
    }
    for (const auto& [day, members] : days) {
        std::uint64_t sessions = 0, failed = 0, drops = 0, sent = 0, received = 0;
        std::int64_t online = 0, reconnectSum = 0, reconnects = 0;
        std::vector<std::int64_t> lengths;
        std::map<std::string, int> endings;
        for (const std::size_t i : members) {
            const Row& row = facts.rows[i];
            ++endings[row.endedBy];
            if (!row.session) {
                ++failed;
                continue;
            }
            ++sessions;
            const std::optional<std::int64_t> end =
                row.endedBy == "still up" ? std::optional(facts.lastClock) : row.end;
            if (row.start && end) {
                lengths.push_back(*end - *row.start);
                online += *end - *row.start;
            }
            sent += row.sent.value_or(0);
            received += row.received.value_or(0);
            if (!isDrop(row)) continue;
            ++drops;
            if (const auto back = backAfter(facts.rows, i)) {
                reconnectSum += *facts.rows[*back].start - *row.end;
                ++reconnects;
            }
        }
        std::sort(lengths.begin(), lengths.end());
        const bool known = day != INT64_MAX;
        std::string availability = "-";
        if (known) {
            const std::int64_t from = std::max(facts.firstClock, day * kDay);
            const std::int64_t to = std::min(facts.lastClock, (day + 1) * kDay);
            if (to > from) {
                const std::int64_t tenths =
                    (upWithin(facts, from, to) * 2000 + (to - from)) / (2 * (to - from));
                availability =
                    std::to_string(tenths / 10) + "." + std::to_string(tenths % 10) + "%";
            }
        }
        text += known ? clockText(day * kDay, "%Y-%m-%d") : "unknown";
        text += "\t" + std::to_string(sessions) + "\t" + std::to_string(failed) + "\t" +
                std::to_string(drops);
        text += "\t" + (lengths.empty() ? "-" : hms(online));
        text += "\t" + availability;
        text += "\t" + (lengths.empty() ? "-" : hms(lengths.back()));
        text += "\t" + (lengths.empty() ? "-" : hms(lengths[(lengths.size() - 1) / 2]));
        text += "\t" + (reconnects == 0 ? std::string("-")
                                        : hms((2 * reconnectSum + reconnects) / (2 * reconnects)));
        text += "\t" + std::to_string(sent) + "\t" + std::to_string(received);
        for (const char* ending : kEndings) text += "\t" + std::to_string(endings[ending]);
        text += "\r\n";
    }
    return text;
}

std::string expectedOutages(const GeneratedFacts& facts) {
    struct Gap {
        std::size_t opener;
        std::int64_t start;
        std::optional<std::size_t> closer;
        int failed;
    };
    const std::vector<Row>& rows = facts.rows;
    std::vector<Gap> gaps;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const Row& row = rows[i];
        if (!row.end) continue;
        bool anyOpen = false, ownOpen = false;
        for (Gap& gap : gaps) {
            const bool closedBefore =
                gap.closer && (*gap.closer <= i || *rows[*gap.closer].start < *row.end);
            if (closedBefore || gap.start > *row.end) continue;
            anyOpen = true;
            const std::string& link = rows[gap.opener].interface;
            if (!link.empty() && !row.interface.empty() && link != row.interface) continue;
            ownOpen = true;
            if (row.localIp.empty()) ++gap.failed;
        }
        const bool opens = isDrop(row) ? !ownOpen : !row.session && !anyOpen;
        if (opens) gaps.push_back({i, *row.end, backAfter(rows, i), row.localIp.empty() ? 1 : 0});
    }
    std::stable_sort(gaps.begin(), gaps.end(),
                     [](const Gap& a, const Gap& b) { return a.start < b.start; });
    std::string text = "Start\tEnd\tLength\tCause\tFailed Attempts\r\n";
    for (const Gap& gap : gaps) {
        text += clockText(gap.start, "%m-%d-%Y %H:%M:%S") + "\t";
        if (gap.closer) {
            const std::int64_t end = *rows[*gap.closer].start;
            text += clockText(end, "%m-%d-%Y %H:%M:%S") + "\t" + hms(end - gap.start);
        } else {
            text += "-\t-";
        }
        text += "\t" + rows[gap.opener].endedBy + "\t" + std::to_string(gap.failed) + "\r\n";
    }
    return text;
}

}  // namespace kestal::bench
