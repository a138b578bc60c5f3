#include "platform/Locale.h"

#include <langinfo.h>

#include <clocale>
#include <ctime>

namespace kestal {

namespace {

constexpr std::string_view kDefaultTimeFormat = "%H:%M:%S";
constexpr char kDefaultTimeSeparator = ':';

// What the separator-bearing composite conversions stand for.
std::string_view expansionOf(char conversion, std::string_view ampmFormat) {
    switch (conversion) {
        case 'T':
            return "%H:%M:%S";
        case 'R':
            return "%H:%M";
        case 'r':
            return ampmFormat;
        default:
            return {};
    }
}

bool isHoursConversion(char conversion) {
    return conversion == 'H' || conversion == 'I' || conversion == 'k' || conversion == 'l';
}

// The character after the first hours conversion in format, or 0.
// depth bounds the expansion of %r, whose format could name %r again.
char charAfterHours(std::string_view format, std::string_view ampmFormat, int depth) {
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%') continue;
        // Flags, width and the E/O modifiers may stand between "%" and the
        // conversion: "%-H", "%OH", "%02H".
        std::size_t c = i + 1;
        while (c < format.size() &&
               std::string_view("-_0^#EO123456789").find(format[c]) != std::string_view::npos)
            ++c;
        if (c >= format.size()) return 0;
        const char conversion = format[c];
        if (isHoursConversion(conversion)) return c + 1 < format.size() ? format[c + 1] : 0;
        const std::string_view expansion = expansionOf(conversion, ampmFormat);
        if (!expansion.empty() && depth > 0)
            return charAfterHours(expansion, ampmFormat, depth - 1);
        i = c;  // "%%" and other conversions are skipped whole
    }
    return 0;
}

struct tm toTm(const DateTime& time) {
    struct tm fields {};
    fields.tm_year = time.year - 1900;
    fields.tm_mon = time.month - 1;
    fields.tm_mday = time.day;
    fields.tm_hour = time.hour;
    fields.tm_min = time.minute;
    fields.tm_sec = time.second;
    fields.tm_isdst = -1;
    // mktime fills in the weekday, day of the year and time zone, which a
    // format may name; the time of day stays as given even where mktime
    // would move it (a daylight-saving gap).
    struct tm normalised = fields;
    if (std::mktime(&normalised) != static_cast<std::time_t>(-1)) {
        fields.tm_wday = normalised.tm_wday;
        fields.tm_yday = normalised.tm_yday;
        fields.tm_isdst = normalised.tm_isdst;
        fields.tm_gmtoff = normalised.tm_gmtoff;
        fields.tm_zone = normalised.tm_zone;
    } else {
        fields.tm_isdst = 0;
    }
    return fields;
}

}  // namespace

char timeSeparatorOf(std::string_view timeFormat, std::string_view ampmFormat) {
    const char separator = charAfterHours(timeFormat, ampmFormat, 2);
    // A "%" starts the next conversion ("%H%M"), and a byte above 127 is
    // only part of a character (the Korean 시).
    const auto byte = static_cast<unsigned char>(separator);
    if (separator == 0 || separator == '%' || byte > 127) return kDefaultTimeSeparator;
    return separator;
}

char decimalSeparatorOf(std::string_view radix) { return radix.size() == 1 ? radix[0] : '.'; }

std::string formatTime(const DateTime& time, std::string_view timeFormat) {
    const std::string format(timeFormat.empty() ? kDefaultTimeFormat : timeFormat);
    const struct tm fields = toTm(time);
    char text[256];
    const std::size_t length = std::strftime(text, sizeof text, format.c_str(), &fields);
    // 0 is also the length of a format that yields nothing; a time text that
    // doesn't fit 256 bytes is no time format.
    return std::string(text, length);
}

RegionalSettings localeRegionalSettings() {
    RegionalSettings settings;
    settings.decimalSeparator = decimalSeparatorOf(::nl_langinfo(RADIXCHAR));
    settings.timeSeparator = timeSeparatorOf(::nl_langinfo(T_FMT), ::nl_langinfo(T_FMT_AMPM));
    return settings;
}

std::string localeLongTimeText(const DateTime& time) {
    return formatTime(time, ::nl_langinfo(T_FMT));
}

DateTime localNow() {
    const std::time_t seconds = std::time(nullptr);
    struct tm fields {};
    ::localtime_r(&seconds, &fields);
    return DateTime{fields.tm_year + 1900, fields.tm_mon + 1, fields.tm_mday,
                    fields.tm_hour,        fields.tm_min,     fields.tm_sec};
}

std::string languageOfLocale(std::string_view name) {
    const std::string_view language = name.substr(0, name.find_first_of("_.@"));
    if (language == "C" || language == "POSIX") return {};
    return std::string(language);
}

std::string messagesLanguage() {
    const char* name = std::setlocale(LC_MESSAGES, nullptr);
    return languageOfLocale(name != nullptr ? name : "");
}

}  // namespace kestal
