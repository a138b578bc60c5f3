// Gathering one call's lines with the address annotation: any log and any
// Start Time give exactly the lines of the matching call blocks, each line
// (but the first of a block) followed by one well-formed annotation per
// address key it holds; a failing annotation becomes "Warning!" with the
// right line number.
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzCheck.h"
#include "details/CallDetails.h"

using namespace kestal;
using kestal::fuzz::check;
using kestal::fuzz::contains;

namespace {

constexpr std::string_view kKeys[] = {"IP address of ", "DNS ", "from 0 to "};

// Reads one annotation " (a.b.c.d)" off the front of text, each number 0 to
// 255 without leading zeros. Returns its length, 0 when text doesn't start
// with one.
std::size_t annotationLength(std::string_view text) {
    if (text.substr(0, 2) != " (") return 0;
    std::size_t i = 2;
    for (int part = 0; part < 4; ++part) {
        const std::size_t first = i;
        int value = 0;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9' && i - first < 3) {
            value = value * 10 + (text[i] - '0');
            ++i;
        }
        if (i == first || value > 255 || (text[first] == '0' && i - first > 1)) return 0;
        const char expectedEnd = part < 3 ? '.' : ')';
        if (i >= text.size() || text[i] != expectedEnd) return 0;
        ++i;
    }
    return i;
}

void checkAnnotation(std::string_view line, std::string_view annotated) {
    check(annotated.substr(0, line.size()) == line, "annotation changed the line", annotated);
    // Each key is looked for in the line as annotated so far: a key at the
    // very end of the line reads the characters of an earlier annotation.
    std::string expected(line);
    for (std::string_view key : kKeys) {
        const std::size_t at = expected.find(key);
        if (at == std::string::npos) continue;
        const std::string quad =
            hexToDottedQuad(std::string_view(expected).substr(at + key.size(), 8));
        check(annotationLength(quad) == quad.size() && !quad.empty(), "malformed annotation", quad);
        expected += quad;
    }
    check(annotated == expected, "annotation differs from the keys' addresses", annotated);
}

// The gathering rule written out plainly, with the annotation passed in.
std::vector<std::string> expectedDetails(const LogLines& lines, std::string_view start,
                                         const LineAnnotator& annotate,
                                         std::vector<std::string>& warnings) {
    std::vector<std::string> shown;
    std::size_t i = 0;
    while (i < lines.size()) {
        std::string_view line = lines[i];
        if (!contains(line, "log opened") || line.substr(0, 19) != start) {
            ++i;
            continue;
        }
        shown.emplace_back(line);
        while (i + 1 < lines.size()) {
            ++i;
            line = lines[i];
            if (contains(line, "log opened")) break;
            try {
                shown.push_back(annotate(line));
            } catch (const std::exception&) {
                warnings.push_back(std::string(kCorruptLineWarningStart) +
                                   std::to_string(shown.size()) +
                                   std::string(kCorruptLineWarningEnd));
                shown.emplace_back(kWarningLine);
            }
            if (contains(line, "Remote access driver log closed")) break;
        }
        // The line that ended the copy is not tested again as a start.
        ++i;
    }
    return shown;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    kestal::fuzz::Input input(data, size);
    const std::uint8_t pick = input.byte();
    const std::uint8_t failEvery = input.byte() % 8;  // 0: annotation never fails
    const LogLines lines = LogLines::fromBytes(std::string(input.rest()));

    // The Start Time: that of one of the calls, or a text that may match none.
    std::vector<std::string_view> openers;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (contains(lines[i], "log opened")) openers.push_back(lines[i].substr(0, 19));
    }
    std::string start;
    if (!openers.empty() && pick < 0xF0)
        start = std::string(openers[pick % openers.size()]);
    else if (!lines.empty())
        start = std::string(lines[pick % lines.size()].substr(0, 19));

    // The real annotation never fails.
    std::vector<std::string> warnings;
    const std::vector<std::string> shown =
        gatherCallDetails(lines, start, [&](std::string_view w) { warnings.emplace_back(w); });
    check(warnings.empty(), "warning from the real annotation",
          warnings.empty() ? "" : warnings[0]);
    std::vector<std::string> expectedWarnings;
    const std::vector<std::string> expected = expectedDetails(
        lines, start, [](std::string_view line) { return annotateLine(line); }, expectedWarnings);
    check(shown.size() == expected.size(), "number of lines shown");
    for (std::size_t i = 0; i < shown.size(); ++i) {
        check(shown[i] == expected[i], "line shown", shown[i]);
    }
    if (!shown.empty()) {
        check(contains(shown.front(), "log opened") && shown.front().substr(0, 19) == start,
              "first line is not the call's opener", shown.front());
    }
    for (std::size_t i = 0; i < lines.size(); ++i)
        checkAnnotation(lines[i], annotateLine(lines[i]));

    // An annotation that fails now and then.
    if (failEvery != 0) {
        int calls = 0;
        const LineAnnotator flaky = [&](std::string_view line) -> std::string {
            if (++calls % failEvery == 0) throw std::runtime_error("annotation failed");
            return annotateLine(line);
        };
        std::vector<std::string> got;
        const std::vector<std::string> withWarnings = gatherCallDetails(
            lines, start, [&](std::string_view w) { got.emplace_back(w); }, flaky);
        calls = 0;
        std::vector<std::string> wanted;
        const std::vector<std::string> expectedWithWarnings =
            expectedDetails(lines, start, flaky, wanted);
        check(withWarnings == expectedWithWarnings, "lines with a failing annotation");
        check(got == wanted, "warnings of a failing annotation", got.empty() ? "" : got[0]);
    }
    return 0;
}
