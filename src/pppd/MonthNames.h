// The abbreviated month names a log's dates may use: English always, and
// those of the user's region (journalctl prints dates under the region's
// names, German "Mai", say).
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace kestal {

struct MonthNames {
    // January first; empty names are not looked for.
    std::array<std::string, 12> local;

    // The month (1 to 12) named by the first letters of text (the English
    // names "Jan" to "Dec", then the local ones), and how many bytes the
    // name takes; 0 when none fits.
    int monthAt(std::string_view text, std::size_t& length) const;
};

// The abbreviated month names of the region the program runs under (its
// LC_TIME, as the C library reads it from the environment); none when the
// region is English or can't be read.
MonthNames regionalMonthNames();

}  // namespace kestal
