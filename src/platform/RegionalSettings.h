// The parts of the user's regional settings that the program reads.
#pragma once

namespace kestal {

struct RegionalSettings {
    char decimalSeparator = '.';
    char timeSeparator = ':';
};

}  // namespace kestal
