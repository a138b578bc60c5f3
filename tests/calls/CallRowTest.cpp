// The row builder's quick reading of layer times against layerSeconds: the
// same seconds for every time, of the log's shape or not.
#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <random>
#include <string>

#include "calls/CallRow.h"
#include "calls/CallScan.h"
#include "platform/RegionalNumbers.h"

namespace kestal::testing {
namespace {

TEST(QuickLayerSeconds, ReadsEveryTimeAsTheSlowReading) {
    const std::string times[] = {"13:59:06.52", "13:59:04",    "00:00:00.0",  "23:59:59.99",
                                 "13:59:06,52", "13:59:06.",   "13:59:06.x",  " 3:59:06.52",
                                 "13:59:0",     "13:59:06 52", "9x:04:23",    "",
                                 "13.59.06.52", "13:59:06.5",  "99:99:99.99", "13:59:06:52"};
    for (const char separator : {'.', ',', '5'}) {
        for (const std::string& layer : times) {
            for (const std::string& start : times) {
                SCOPED_TRACE("\"" + layer + "\" from \"" + start + "\", separator " + separator);
                const float expected = layerSeconds(layer, start, separator);
                EXPECT_EQ(quickLayerSeconds(layer, start, separator), expected);
            }
        }
    }
}

TEST(QuickLayerSeconds, RandomTimesOfDigitsAndSeparators) {
    std::mt19937 random(19);
    const std::string alphabet = "0123456789:., -";
    for (int i = 0; i < 20000; ++i) {
        std::string layer;
        std::string start;
        const std::size_t layerSize = random() % 12;
        for (std::size_t k = 0; k < layerSize; ++k) layer += alphabet[random() % alphabet.size()];
        for (std::size_t k = 0; k < 8; ++k) start += alphabet[random() % 10];
        const char separator = i % 2 == 0 ? '.' : ',';
        EXPECT_EQ(quickLayerSeconds(layer, start, separator), layerSeconds(layer, start, separator))
            << layer << " from " << start;
    }
}

}  // namespace
}  // namespace kestal::testing

namespace kestal::testing {
namespace {

// The LCP cell for every tenth of a second from 20 minutes before the start
// to 20 minutes after it, for starts early, midday, late and past the hours
// of a day: "%3.1f" of the
// difference, "-" when the text reads back as more than 500 or less than 0.
TEST(CallRowBuilder, LayerCellsKeepTheRangeRule) {
    const std::pair<int, std::string_view> starts[] = {
        {0, "12-01-2026 00:00:00"},
        {10, "12-01-2026 00:00:01"},
        {12 * 36000, "12-01-2026 12:00:00"},
        {23 * 36000 + 24000, "12-01-2026 23:40:00"},
        {99 * 36000 + 59 * 600 + 590, "12-01-2026 99:59:59"}};
    for (const char separator : {'.', ','}) {
        CallRowBuilder rows({separator, ':'});
        for (const auto& [startTenths, startText] : starts) {
            for (int tenths = -12000; tenths <= 12000; ++tenths) {
                const int total = startTenths + tenths;
                if (total < 0 || total >= 100 * 36000) continue;
                char layer[16];
                std::snprintf(layer, sizeof layer, "%02d:%02d:%02d.%d5", total / 36000,
                              total / 600 % 60, total / 10 % 60, total % 10);
                CallSummary call;
                call.startText = startText;
                call.endText = call.startText;
                call.layerTimes[0] = layer;
                const float seconds = layerSeconds(layer, startText.substr(11), separator);
                char expected[64];
                std::snprintf(expected, sizeof expected, "%3.1f", seconds);
                std::string text = expected;
                for (char& c : text)
                    if (c == '.') c = separator;
                const std::optional<double> value = readNumber(text, separator);
                if (!value || *value > 500 || *value < 0) text = "-";
                ASSERT_EQ(rows.build(call).cells[3], text) << layer << " from " << startText;
            }
        }
    }
}

}  // namespace
}  // namespace kestal::testing
