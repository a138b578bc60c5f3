// What every fuzz target needs besides the code under test: a check that
// stops the run with a readable message (libFuzzer then saves the input),
// and a reader that takes small decisions from the front of the input.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace kestal::fuzz {

// A property that failed is a finding like a crash: report it and abort so
// that libFuzzer keeps the input as a crash artifact.
[[noreturn]] inline void fail(const char* what, std::string_view detail = {}) {
    std::fprintf(stderr, "\n*** property failed: %s\n", what);
    if (!detail.empty()) {
        std::fprintf(stderr, "*** detail (%zu bytes): ", detail.size());
        for (unsigned char c : detail.substr(0, 400)) {
            if (c >= 0x20 && c < 0x7f)
                std::fputc(c, stderr);
            else
                std::fprintf(stderr, "\\x%02x", c);
        }
        std::fputc('\n', stderr);
    }
    std::abort();
}

inline void check(bool ok, const char* what, std::string_view detail = {}) {
    if (!ok) fail(what, detail);
}

// Takes bytes off the front of the fuzz input.
class Input {
public:
    Input(const std::uint8_t* data, std::size_t size)
        : rest_(reinterpret_cast<const char*>(data), size) {}

    // One byte, 0 when the input is used up.
    std::uint8_t byte() {
        if (rest_.empty()) return 0;
        const auto b = static_cast<std::uint8_t>(rest_.front());
        rest_.remove_prefix(1);
        return b;
    }
    // Up to n bytes.
    std::string_view take(std::size_t n) {
        const std::string_view part = rest_.substr(0, n);
        rest_.remove_prefix(part.size());
        return part;
    }
    // Everything up to the next separator (which is dropped), or the rest.
    std::string_view until(char separator) {
        const std::size_t at = rest_.find(separator);
        if (at == std::string_view::npos) return take(rest_.size());
        const std::string_view part = rest_.substr(0, at);
        rest_.remove_prefix(at + 1);
        return part;
    }
    std::string_view rest() {
        const std::string_view all = rest_;
        rest_ = {};
        return all;
    }
    bool empty() const { return rest_.empty(); }

private:
    std::string_view rest_;
};

inline bool contains(std::string_view text, std::string_view part) {
    return text.find(part) != std::string_view::npos;
}

}  // namespace kestal::fuzz
