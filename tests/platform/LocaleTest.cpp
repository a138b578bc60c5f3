#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <ctime>

#include "platform/Locale.h"

namespace kestal {
namespace {

const DateTime kAfternoon{2026, 12, 6, 15, 5, 9};
const DateTime kMorning{2026, 1, 2, 9, 7, 3};

TEST(TimeSeparatorOf, IsTheCharacterAfterTheHours) {
    const struct {
        std::string_view format;
        std::string_view ampm;
        char separator;
    } cases[] = {
        {"%H:%M:%S", "", ':'},
        {"%H.%M.%S", "", '.'},       // Finnish
        {"%T", "", ':'},             // German, Danish ...
        {"%r", "%I:%M:%S %p", ':'},  // US English
        {"%r", "%I.%M.%S %p", '.'},
        {"%k:%M:%S", "", ':'},  // Bulgarian
        {"%l:%M:%S %P", "", ':'},
        {"%-H.%M", "", '.'},  // flags before the conversion
        {"%OH,%M", "", ','},
        {"%%H-%H/%M", "", '/'},  // "%%" is a percent sign, not a conversion
        {"%p %I-%M-%S", "", '-'},
        {"%H\xEC\x8B\x9C %M", "", ':'},  // Korean 시: no single-byte separator
        {"%H%M%S", "", ':'},
        {"%M:%S", "", ':'},
        {"%H", "", ':'},
        {"", "", ':'},
        {"%", "", ':'},
        {"%r", "%r", ':'},  // a %r that names itself
    };
    for (const auto& c : cases)
        EXPECT_EQ(timeSeparatorOf(c.format, c.ampm), c.separator) << c.format;
}

TEST(DecimalSeparatorOf, TakesASingleByteRadixOnly) {
    EXPECT_EQ(decimalSeparatorOf("."), '.');
    EXPECT_EQ(decimalSeparatorOf(","), ',');
    EXPECT_EQ(decimalSeparatorOf("\xD9\xAB"), '.');  // Arabic decimal separator
    EXPECT_EQ(decimalSeparatorOf(""), '.');
}

// formatTime reads AM/PM words from LC_TIME; these cases hold in "C".
class CLocale : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = std::setlocale(LC_ALL, nullptr);
        std::setlocale(LC_ALL, "C");
    }
    void TearDown() override { std::setlocale(LC_ALL, saved_.c_str()); }

private:
    std::string saved_;
};

TEST_F(CLocale, FormatTimeWritesTheTimeTheFormatsWay) {
    const struct {
        DateTime time;
        std::string_view format;
        std::string_view text;
    } cases[] = {
        {kAfternoon, "%H:%M:%S", "15:05:09"},
        {kAfternoon, "%I:%M:%S %p", "03:05:09 PM"},
        {kMorning, "%l:%M:%S %p", " 9:07:03 AM"},
        {kAfternoon, "%H.%M.%S", "15.05.09"},
        {kAfternoon, "%T", "15:05:09"},
        {kAfternoon, "", "15:05:09"},
        {DateTime{2026, 6, 30, 23, 59, 59}, "%H:%M:%S", "23:59:59"},
    };
    for (const auto& c : cases) EXPECT_EQ(formatTime(c.time, c.format), c.text) << c.format;
}

TEST_F(CLocale, FormatTimeKeepsATimeInADaylightSavingGap) {
    // 2:30 on 29 March 2026 doesn't exist in Berlin; the text still says it.
    const char* old = std::getenv("TZ");
    const std::string saved = old ? old : "";
    ::setenv("TZ", "Europe/Berlin", 1);
    ::tzset();
    const std::string text = formatTime(DateTime{2026, 3, 29, 2, 30, 0}, "%H:%M:%S");
    if (old)
        ::setenv("TZ", saved.c_str(), 1);
    else
        ::unsetenv("TZ");
    ::tzset();
    EXPECT_EQ(text, "02:30:00");
}

// Sets a real locale for one test, or skips when it isn't installed.
class RealLocale : public CLocale {
protected:
    bool use(const char* name) { return std::setlocale(LC_ALL, name) != nullptr; }
};

TEST_F(RealLocale, GermanHasDecimalCommaAnd24HourTime) {
    if (!use("de_DE.UTF-8")) GTEST_SKIP() << "locale de_DE.UTF-8 not installed";
    const RegionalSettings settings = localeRegionalSettings();
    EXPECT_EQ(settings.decimalSeparator, ',');
    EXPECT_EQ(settings.timeSeparator, ':');
    EXPECT_EQ(localeLongTimeText(kAfternoon), "15:05:09");
}

TEST_F(RealLocale, UsEnglishHas12HourTime) {
    if (!use("en_US.UTF-8")) GTEST_SKIP() << "locale en_US.UTF-8 not installed";
    const RegionalSettings settings = localeRegionalSettings();
    EXPECT_EQ(settings.decimalSeparator, '.');
    EXPECT_EQ(settings.timeSeparator, ':');
    EXPECT_EQ(localeLongTimeText(kAfternoon), "03:05:09 PM");
}

TEST_F(RealLocale, FinnishSeparatesTimeWithStops) {
    if (!use("fi_FI.UTF-8")) GTEST_SKIP() << "locale fi_FI.UTF-8 not installed";
    EXPECT_EQ(localeRegionalSettings().timeSeparator, '.');
    EXPECT_EQ(localeRegionalSettings().decimalSeparator, ',');
    EXPECT_EQ(localeLongTimeText(kAfternoon), "15.05.09");
}

TEST_F(CLocale, CLocaleHasTheDefaults) {
    const RegionalSettings settings = localeRegionalSettings();
    EXPECT_EQ(settings.decimalSeparator, '.');
    EXPECT_EQ(settings.timeSeparator, ':');
    EXPECT_EQ(localeLongTimeText(kAfternoon), "15:05:09");
}

TEST(LocalNow, IsTheLocalClock) {
    // Taken between two readings of the clock, it matches one of them (the
    // second may tick over in between).
    auto reading = [] {
        const std::time_t seconds = std::time(nullptr);
        struct tm fields {};
        ::localtime_r(&seconds, &fields);
        return DateTime{fields.tm_year + 1900, fields.tm_mon + 1, fields.tm_mday,
                        fields.tm_hour,        fields.tm_min,     fields.tm_sec};
    };
    auto same = [](const DateTime& a, const DateTime& b) {
        return a.year == b.year && a.month == b.month && a.day == b.day && a.hour == b.hour &&
               a.minute == b.minute && a.second == b.second;
    };
    const DateTime before = reading();
    const DateTime now = localNow();
    const DateTime after = reading();
    EXPECT_TRUE(same(now, before) || same(now, after));
    EXPECT_GE(now.year, 2020);
}

TEST(LanguageOfLocale, IsTheNameBeforeTheRegionCodesetOrModifier) {
    const struct {
        std::string_view name;
        std::string_view language;
    } cases[] = {
        {"de_DE.UTF-8", "de"}, {"de_AT", "de"},       {"de@euro", "de"},
        {"de", "de"},          {"en_US.UTF-8", "en"}, {"C", ""},
        {"C.UTF-8", ""},       {"POSIX", ""},         {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(languageOfLocale(c.name), c.language) << c.name;
}

}  // namespace
}  // namespace kestal
