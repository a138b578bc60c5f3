// Where lines end and where the letter pairs of the recognised texts start
// (see LineMatcher), 64 bytes a step, worked out for many steps at once with
// the widest vector instructions the processor offers: the choice is made
// once, and each stretch of text costs one call.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace kestal {

inline constexpr std::size_t kMaskStep = 64;

// For each step k of count from text on, bit i of ends[k] is set when
// text[64 k + i] is a CR, LF or NUL, and bit i of pairs[k] when a letter
// pair starts there. Either may be null: those masks aren't wanted. Reads
// text[0] to text[64 count - 1], and the byte after that too when pairs are
// wanted.
using ByteMaskFinder = void (*)(const char* text, std::size_t count, std::uint64_t* ends,
                                std::uint64_t* pairs);

// The finder for this processor.
void findByteMasks(const char* text, std::size_t count, std::uint64_t* ends, std::uint64_t* pairs);

struct NamedByteMaskFinder {
    std::string_view name;
    ByteMaskFinder find;
};

// Every finder this processor can run, the plain one first: for the tests
// and the benchmarks.
std::vector<NamedByteMaskFinder> byteMaskFinders();

}  // namespace kestal
