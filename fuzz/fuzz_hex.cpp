// hexToDottedQuad: any text of up to 8 characters gives " (a.b.c.d)" with
// each number 0 to 255 in plain decimal, the numbers being those that the
// digit rule gives; longer text must not crash and keeps the same shape.
#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzCheck.h"
#include "details/CallDetails.h"

using namespace kestal;
using kestal::fuzz::check;

namespace {

int digitValue(char c) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    const std::size_t at = kHexDigits.find(c);
    return at == std::string_view::npos ? 0 : static_cast<int>(at) + 1;
}

// The conversion rule, step by step.
std::string expectedQuad(std::string_view text) {
    std::string t(text);
    if (t.find('.') != std::string::npos) t = ("0" + t).substr(0, 8);
    auto d = [&](std::size_t k) { return k < t.size() ? digitValue(t[k]) : 0; };
    std::string out = " (";
    for (std::size_t part = 0; part < 4; ++part) {
        if (part > 0) out += '.';
        out += std::to_string(16 * d(2 * part) + d(2 * part + 1));
    }
    return out + ")";
}

bool wellFormed(std::string_view quad) {
    if (quad.substr(0, 2) != " (" || quad.empty() || quad.back() != ')') return false;
    std::string_view numbers = quad.substr(2, quad.size() - 3);
    for (int part = 0; part < 4; ++part) {
        const std::size_t end = part < 3 ? numbers.find('.') : numbers.size();
        if (end == std::string_view::npos || end == 0 || end > 3) return false;
        const std::string_view number = numbers.substr(0, end);
        int value = 0;
        for (char c : number) {
            if (c < '0' || c > '9') return false;
            value = value * 10 + (c - '0');
        }
        if (value > 255 || (number.size() > 1 && number[0] == '0')) return false;
        numbers.remove_prefix(part < 3 ? end + 1 : end);
    }
    return numbers.empty();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::string quad = hexToDottedQuad(text);
    check(wellFormed(quad), "malformed dotted quad", quad);
    if (text.size() <= 8) check(quad == expectedQuad(text), "dotted quad differs", quad);
    // Upper or lower case gives the same address.
    std::string lower(text.substr(0, 8));
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    check(hexToDottedQuad(lower) == hexToDottedQuad(text.substr(0, 8)),
          "letter case changes the address", quad);
    return 0;
}
