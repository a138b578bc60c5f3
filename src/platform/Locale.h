// The user's regional settings, read from the process locale (the program
// entry adopts the environment's locale with setlocale(LC_ALL, "")).
// The rules work on plain format texts so that they can be tried with any
// locale's formats, installed or not.
#pragma once

#include <string>
#include <string_view>

#include "platform/DateTime.h"
#include "platform/RegionalSettings.h"

namespace kestal {

// The time separator that a strftime time format uses: the first character
// after its hours conversion (%H, %I, %k, %l, also inside %T, %R, %r),
// ':' when there is none or it isn't a single-byte character.
// ampmFormat stands in for %r.
char timeSeparatorOf(std::string_view timeFormat, std::string_view ampmFormat = "%I:%M:%S %p");

// The decimal separator from the locale's radix character; '.' when it
// isn't a single byte.
char decimalSeparatorOf(std::string_view radix);

// time formatted by a strftime time format; "%H:%M:%S" when the format is
// empty.
std::string formatTime(const DateTime& time, std::string_view timeFormat);

// The same, from the process locale (LC_NUMERIC, LC_TIME).
RegionalSettings localeRegionalSettings();
std::string localeLongTimeText(const DateTime& time);

// The language of a locale's name: "de" of "de_DE.UTF-8" or "de@euro",
// nothing of "C", "POSIX" or an empty name.
std::string languageOfLocale(std::string_view name);

// The language the user reads messages in (LC_MESSAGES of the process
// locale).
std::string messagesLanguage();

// The current local date and time.
DateTime localNow();

}  // namespace kestal
