// The row builder's quick reading of layer times against LayerSeconds: the
// same seconds for every time, of the log's shape or not.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "log/CallRow.h"
#include "log/CallScan.h"

namespace kestal::testing {
namespace {

TEST(QuicklayerSeconds, ReadsEveryTimeAsLayerSeconds) {
    const std::string times[] = {"13:59:06.52", "13:59:04",    "00:00:00.0",  "23:59:59.99",
                                 "13:59:06,52", "13:59:06.",   "13:59:06.x",  " 3:59:06.52",
                                 "13:59:0",     "13:59:06 52", "9x:04:23",    "",
                                 "13.59.06.52", "13:59:06.5",  "99:99:99.99", "13:59:06:52"};
    for (const char separator : {'.', ',', '5'}) {
        for (const std::string& layer : times) {
            for (const std::string& start : times) {
                SCOPED_TRACE("\"" + layer + "\" from \"" + start + "\", separator " + separator);
                const float expected = layerSeconds(layer, start, separator);
                EXPECT_EQ(quicklayerSeconds(layer, start, separator), expected);
            }
        }
    }
}

TEST(QuicklayerSeconds, RandomTimesOfDigitsAndSeparators) {
    std::mt19937 random(19);
    const std::string alphabet = "0123456789:., -";
    for (int i = 0; i < 20000; ++i) {
        std::string layer;
        std::string start;
        const std::size_t layerSize = random() % 12;
        for (std::size_t k = 0; k < layerSize; ++k) layer += alphabet[random() % alphabet.size()];
        for (std::size_t k = 0; k < 8; ++k) start += alphabet[random() % 10];
        const char separator = i % 2 == 0 ? '.' : ',';
        EXPECT_EQ(quicklayerSeconds(layer, start, separator), layerSeconds(layer, start, separator))
            << layer << " from " << start;
    }
}

}  // namespace
}  // namespace kestal::testing
