#include "pppd/MonthNames.h"

#include <langinfo.h>
#include <locale.h>

namespace kestal {

namespace {

constexpr std::string_view kEnglish[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                           "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

}  // namespace

int MonthNames::monthAt(std::string_view text, std::size_t& length) const {
    if (text.size() >= 3) {
        for (int m = 0; m < 12; ++m) {
            if (text.substr(0, 3) == kEnglish[m]) {
                length = 3;
                return m + 1;
            }
        }
    }
    for (int m = 0; m < 12; ++m) {
        const std::string& name = local[static_cast<std::size_t>(m)];
        if (!name.empty() && text.starts_with(name)) {
            length = name.size();
            return m + 1;
        }
    }
    return 0;
}

MonthNames regionalMonthNames() {
    MonthNames names;
    locale_t region = newlocale(LC_TIME_MASK, "", static_cast<locale_t>(0));
    if (region == static_cast<locale_t>(0)) return names;
    bool english = true;
    for (int m = 0; m < 12; ++m) {
        const char* name = nl_langinfo_l(static_cast<nl_item>(ABMON_1 + m), region);
        std::string_view text = name ? name : "";
        // Some regions end the abbreviation with a dot the log doesn't print.
        while (!text.empty() && (text.back() == '.' || text.back() == ' ')) text.remove_suffix(1);
        names.local[static_cast<std::size_t>(m)] = std::string(text);
        if (text != kEnglish[m]) english = false;
    }
    freelocale(region);
    if (english) names.local = {};
    return names;
}

}  // namespace kestal
