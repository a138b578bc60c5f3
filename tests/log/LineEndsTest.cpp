// The line index in four bytes an entry reads back every number it was
// given, across the steps of its high bits.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "log/LineEnds.h"

namespace kestal {
namespace {

void expectSame(const LineEnds& ends, const std::vector<std::uint64_t>& numbers) {
    ASSERT_EQ(ends.size(), numbers.size());
    for (std::size_t i = 0; i < numbers.size(); ++i) ASSERT_EQ(ends[i], numbers[i]) << i;
}

TEST(LineEnds, ReadsBackRisingNumbersAcrossTheStepsOfTheirHighBits) {
    // Small steps, steps skipped by one number (a line of gigabytes), and
    // numbers past 2^40; numbers taken off the end and others, smaller
    // ones too, added again; numbers moved over from a second index.
    std::mt19937_64 random(19);
    for (const unsigned lowBits : {2u, 3u, 5u, 32u}) {
        for (int round = 0; round < 50; ++round) {
            SCOPED_TRACE(::testing::Message() << "low bits " << lowBits << " round " << round);
            LineEnds ends(lowBits);
            std::vector<std::uint64_t> numbers;
            std::uint64_t next = 0;
            for (int i = 0; i < 300; ++i) {
                const int kind = static_cast<int>(random() % 10);
                if (kind == 0 && !numbers.empty()) {
                    ends.pop_back();
                    numbers.pop_back();
                    next = numbers.empty() ? 0 : numbers.back();
                    continue;
                }
                next += kind == 1   ? random() % (std::uint64_t{1} << 42)
                        : kind == 2 ? 0
                                    : random() % 40;
                ends.push_back(next);
                numbers.push_back(next);
            }
            expectSame(ends, numbers);

            LineEnds later(lowBits);
            std::vector<std::uint64_t> laterNumbers;
            for (int i = 0; i < 200; ++i) {
                next += random() % 3 == 0 ? random() % (std::uint64_t{1} << 36) : random() % 40;
                later.push_back(next);
                laterNumbers.push_back(next);
            }
            const std::size_t first = random() % 20;
            ends.moveFrom(later, first, laterNumbers.size());
            numbers.insert(numbers.end(), laterNumbers.begin() + static_cast<std::ptrdiff_t>(first),
                           laterNumbers.end());
            expectSame(ends, numbers);
            EXPECT_EQ(ends.back(), numbers.back());
        }
    }
}

TEST(LineEnds, NumbersTakenOffPastEveryStepLeaveNoneBehind) {
    // Small numbers again after the ones that stepped up were taken off,
    // down to none, and the index reused after clear.
    for (const std::size_t keep : {std::size_t{0}, std::size_t{1}, std::size_t{2}}) {
        LineEnds ends(3);
        std::vector<std::uint64_t> numbers = {1, 2, 5, 9, 40, 41, 300};
        for (const std::uint64_t number : numbers) ends.push_back(number);
        while (numbers.size() > keep) {
            ends.pop_back();
            numbers.pop_back();
        }
        for (const std::uint64_t number : {3, 4, 6, 7}) {
            ends.push_back(number);
            numbers.push_back(number);
        }
        expectSame(ends, numbers);
        ends.clear();
        ends.push_back(7);
        expectSame(ends, {7});
    }
}

}  // namespace
}  // namespace kestal
