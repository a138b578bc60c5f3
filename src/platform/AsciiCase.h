// Letter case of single-byte text: only the ASCII letters change, every
// other byte (of whatever code page the text is in) stays as it is.
#pragma once

#include <algorithm>
#include <string>
#include <string_view>

namespace kestal {

constexpr char toLowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

constexpr char toUpperAscii(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

inline std::string toLowerAscii(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) c = toLowerAscii(c);
    return lower;
}

inline bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return toLowerAscii(x) == toLowerAscii(y);
           });
}

}  // namespace kestal
