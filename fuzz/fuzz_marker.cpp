// The marker line of a cleared log: any date and time, any long time text
// and any time separator give "mm-dd-yyyy", a blank, the time text unchanged,
// the separator, "00" and the fixed ending; dates outside the calendar must
// not crash and keep the ending.
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "FuzzCheck.h"
#include "output/MarkerLine.h"

using namespace kestal;
using kestal::fuzz::check;

namespace {

constexpr std::string_view kEnding = " - PPPLOG.TXT cleared by KESTAL.EXE.";

int readInt(kestal::fuzz::Input& input) {
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) value = (value << 8) | input.byte();
    return static_cast<int>(value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    kestal::fuzz::Input input(data, size);
    const bool anyNumbers = input.byte() & 1;
    DateTime now;
    if (anyNumbers) {
        now = DateTime{readInt(input), readInt(input), readInt(input),
                       readInt(input), readInt(input), readInt(input)};
    } else {
        now.year = 1601 + input.byte() * 31 % 8399;
        now.month = 1 + input.byte() % 12;
        now.day = 1 + input.byte() % 31;
        now.hour = input.byte() % 24;
        now.minute = input.byte() % 60;
        now.second = input.byte() % 60;
    }
    const char separator = static_cast<char>(input.byte());
    const std::string_view timeText = input.rest();

    const std::string line = markerLine(now, timeText, separator);
    const std::string ending = std::string(timeText) + separator + "00" + std::string(kEnding);
    check(line.size() >= ending.size() && line.substr(line.size() - ending.size()) == ending,
          "marker line ending", line);
    if (!anyNumbers) {
        char date[16];
        std::snprintf(date, sizeof date, "%02d-%02d-%04d ", now.month, now.day, now.year);
        check(line == date + ending, "marker line", line);
    }
    return 0;
}
