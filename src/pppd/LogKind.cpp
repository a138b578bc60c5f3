#include "pppd/LogKind.h"

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

}  // namespace kestal
