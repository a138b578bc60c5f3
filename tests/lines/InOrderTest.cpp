// Batches made on several threads and taken in order: each once, in order,
// never more made ahead than there are slots, and what either side throws
// stops both and reaches the caller.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <stdexcept>
#include <vector>

#include "lines/InOrder.h"

namespace kestal {
namespace {

struct Numbers {
    std::uint64_t batch = 0;
    std::vector<std::uint64_t> values;
};

TEST(MakeInOrder, TakesEveryBatchOnceInOrderWithinItsSlots) {
    const struct {
        std::uint64_t count;
        unsigned threads;
        std::size_t slots;
    } cases[] = {{0, 2, 4}, {1, 2, 4}, {5, 1, 1}, {100, 2, 1}, {100, 3, 2}, {1000, 2, 6}};
    for (const auto& c : cases) {
        std::atomic<std::int64_t> ahead = 0;
        std::atomic<std::int64_t> mostAhead = 0;
        std::vector<std::uint64_t> taken;
        makeInOrder<Numbers>(
            c.count, c.threads, c.slots,
            [&](Numbers& numbers, std::uint64_t batch) {
                const std::int64_t now = ++ahead;
                std::int64_t most = mostAhead;
                while (now > most && !mostAhead.compare_exchange_weak(most, now)) {
                }
                numbers.batch = batch;
                numbers.values.assign(batch % 7, batch);
            },
            [&](Numbers& numbers) {
                EXPECT_EQ(numbers.values,
                          std::vector<std::uint64_t>(numbers.batch % 7, numbers.batch));
                taken.push_back(numbers.batch);
                --ahead;
            });
        std::vector<std::uint64_t> expected(c.count);
        for (std::uint64_t i = 0; i < c.count; ++i) expected[i] = i;
        EXPECT_EQ(taken, expected) << c.count << " in " << c.slots;
        EXPECT_LE(mostAhead.load(), static_cast<std::int64_t>(c.slots)) << c.count;
    }
}

TEST(MakeInOrder, AFailureOnEitherSideStopsBoth) {
    // A maker's failure: the batches after it are never taken.
    std::uint64_t taken = 0;
    EXPECT_THROW(makeInOrder<Numbers>(
                     1000, 2, 4,
                     [](Numbers& numbers, std::uint64_t batch) {
                         if (batch == 40) throw std::runtime_error("cannot read");
                         numbers.batch = batch;
                     },
                     [&](Numbers& numbers) {
                         EXPECT_EQ(numbers.batch, taken);
                         ++taken;
                     }),
                 std::runtime_error);
    EXPECT_LE(taken, 40u);

    // The taker's: the makers stop, though the batches would go on for
    // ever.
    std::atomic<std::uint64_t> made = 0;
    EXPECT_THROW(makeInOrder<Numbers>(
                     UINT64_MAX, 2, 4, [&](Numbers&, std::uint64_t) { ++made; },
                     [](Numbers& numbers) {
                         if (numbers.batch == 0) throw std::logic_error("gave up");
                     }),
                 std::logic_error);
    EXPECT_LE(made.load(), 4u + 2u);
}

// The reading thread's batches end where it ended: what it read before a
// failure is taken, then the failure is thrown.
TEST(OrderedSlots, TheEndLetsTheBatchesBeforeItBeTaken) {
    OrderedSlots slots(3);
    ASSERT_TRUE(slots.waitToMake(0));
    slots.made(0);
    ASSERT_TRUE(slots.waitToMake(1));
    slots.made(1);
    slots.end(2, std::make_exception_ptr(std::runtime_error("cut short")));
    EXPECT_TRUE(slots.waitToTake(0));
    slots.taken(0);
    EXPECT_TRUE(slots.waitToTake(1));
    slots.taken(1);
    EXPECT_FALSE(slots.waitToTake(2));
    EXPECT_THROW(std::rethrow_exception(slots.failure()), std::runtime_error);
}

}  // namespace
}  // namespace kestal
