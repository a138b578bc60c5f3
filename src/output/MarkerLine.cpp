#include "output/MarkerLine.h"

#include <cstdio>

namespace kestal {

namespace {

constexpr std::string_view kClearedBy = " - PPPLOG.TXT cleared by KESTAL.EXE.";

}  // namespace

std::string markerLine(const DateTime& now, std::string_view longTimeText, char timeSeparator) {
    // The date is always month first with "-", whatever the locale says.
    char date[40];
    std::snprintf(date, sizeof date, "%02d-%02d-%04d ", now.month, now.day, now.year);
    std::string line = date;
    line += longTimeText;
    line += timeSeparator;
    line += "00";
    line += kClearedBy;
    return line;
}

}  // namespace kestal
