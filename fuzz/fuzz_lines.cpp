// Reading bytes into lines: any bytes give the lines that the simple
// character-by-character rule gives, none of them holding a line end or a
// NUL byte, and a joined length that adds up.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzCheck.h"
#include "log/LogLines.h"

using namespace kestal;
using kestal::fuzz::check;

namespace {

// The cutting rule written the slow, obvious way.
std::vector<std::string> expectedLines(std::string_view bytes) {
    const std::string_view text = bytes.substr(0, bytes.find('\0'));
    std::vector<std::string> lines;
    std::string current;
    bool pending = false;  // text since the last line end
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(current);
            current.clear();
            pending = false;
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            current += c;
            pending = true;
        }
    }
    if (pending) lines.push_back(current);
    return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);

    const LogLines lines = LogLines::fromBytes(bytes);
    const std::vector<std::string> expected = expectedLines(bytes);

    check(lines.size() == expected.size(), "line count", bytes);
    check(lines.empty() == (lines.size() == 0), "empty() agrees with size()");
    std::uint64_t joined = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        check(line == expected[i], "line text", line);
        check(line.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos,
              "a line holds CR, LF or NUL", line);
        joined += line.size() + 2;
    }
    check(lines.joinedLength() == joined, "joined length");

    // Assigning again replaces everything; clearing leaves nothing.
    LogLines again;
    again.assign("stale line\r\nand another\r\n");
    again.assign(bytes);
    check(again.size() == lines.size() && again.joinedLength() == joined, "assign replaces");
    again.clear();
    check(again.empty() && again.joinedLength() == 0, "clear empties");

    // The NUL repair keeps every other byte, in order.
    std::string kept;
    for (char c : bytes) {
        if (c != '\0') kept += c;
    }
    check(withoutNulBytes(bytes) == kept, "withoutNulBytes", bytes);
    return 0;
}
