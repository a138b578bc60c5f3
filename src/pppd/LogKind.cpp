#include "pppd/LogKind.h"

#include <algorithm>
#include <chrono>
#include <string>

#include "pppd/LinePrefix.h"
#include "pppd/PppdMessages.h"

namespace kestal {

namespace {

bool holdsPppdMessage(std::string_view line, const MonthNames& months, std::string& decoded) {
    if (const std::optional<PrefixedLine> prefixed = readPrefix(line, months, decoded)) {
        return readMessage(withoutEcho(prefixed->message)).kind != PppdMessage::Other;
    }
    return readMessage(withoutEcho(line)).kind != PppdMessage::Other;
}

}  // namespace

LogKind detectLogKind(std::string_view firstBytes, const MonthNames& months) {
    if (firstBytes.size() > kKindProbeBytes) firstBytes = firstBytes.substr(0, kKindProbeBytes);
    // The log's text ends at its first NUL, as the dial-up log's does.
    firstBytes = firstBytes.substr(0, firstBytes.find('\0'));
    std::string decoded;
    std::size_t start = 0;
    while (start < firstBytes.size()) {
        std::size_t end = firstBytes.find_first_of("\r\n", start);
        const bool cut = end == std::string_view::npos;
        if (cut) end = firstBytes.size();
        // A last line cut off by the probe's end may be any line's start.
        const bool whole = !cut || firstBytes.size() < kKindProbeBytes;
        if (whole && holdsPppdMessage(firstBytes.substr(start, end - start), months, decoded)) {
            return LogKind::Pppd;
        }
        start = end + 1;
    }
    return LogKind::DialUp;
}

bool looksLikePppdLog(std::string_view firstBytes) {
    static const MonthNames months = regionalMonthNames();
    return detectLogKind(firstBytes, months) == LogKind::Pppd;
}

// When a log's first dated line was written (seconds as if the clock were
// UTC), a date without its year put at or before the file's last change:
// the order of rotated logs.
std::optional<std::int64_t> firstDatedTime(std::string_view head, std::int64_t modified) {
    using namespace std::chrono;
    static const MonthNames months = regionalMonthNames();
    auto secondsOf = [](const PrintedTime& t, int year) {
        const sys_days day{std::chrono::year{year} / t.month / t.day};
        return day.time_since_epoch().count() * 86400 + t.hour * 3600 + t.minute * 60 + t.second;
    };
    for (std::size_t start = 0; start < head.size();) {
        const std::size_t end = std::min(head.find('\n', start), head.size());
        const std::optional<PrefixedLine> prefixed =
            readPrefix(head.substr(start, end - start), months);
        start = end + 1;
        if (!prefixed || !prefixed->time) continue;
        const PrintedTime& t = *prefixed->time;
        int year = t.year;
        if (year == 0) {
            year = static_cast<int>(
                year_month_day{floor<days>(sys_seconds{seconds{modified}})}.year());
            if (secondsOf(t, year) > modified + 86400) --year;
        }
        return secondsOf(t, year) - t.utcOffset.value_or(0);
    }
    return std::nullopt;
}

}  // namespace kestal
