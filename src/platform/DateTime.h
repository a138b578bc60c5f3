// A broken-down local date and time of day.
#pragma once

namespace kestal {

struct DateTime {
    int year = 0;
    int month = 0;  // 1..12
    int day = 0;    // 1..31
    int hour = 0;   // 0..23
    int minute = 0;
    int second = 0;
};

}  // namespace kestal
