// The line index in groups of two-byte distances reads back every entry it
// was given, whether its group holds distances or whole entries.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "lines/LineEnds.h"

namespace kestal {
namespace {

void expectSame(const LineEnds& ends, const std::vector<std::uint64_t>& entries) {
    ASSERT_EQ(ends.size(), entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) ASSERT_EQ(ends[i], entries[i]) << i;
}

// The next entry after last: a line of a few bytes ended by lineEnd bytes,
// now and then (3 times in odds) an empty line, a line end of another
// length, or a line of gigabytes.
std::uint64_t nextEntry(std::uint64_t last, std::mt19937_64& random, std::uint64_t lineEnd,
                        std::uint64_t odds = 20) {
    const auto kind = random() % odds;
    const std::uint64_t start = (last >> 2) + (last & 3);
    if (kind == 0) return (start + random() % (std::uint64_t{1} << 40)) << 2 | lineEnd;
    if (kind == 1) return start << 2 | random() % 3;
    if (kind == 2) return start << 2 | lineEnd;
    return (start + random() % 60) << 2 | lineEnd;
}

TEST(LineEnds, ReadsBackEveryEntryWhateverItsGroupHolds) {
    // Entries added, taken off the end in runs (across the groups' borders
    // too) and added again, then moved over from a second index; distances
    // kept in 2, 3 and 5 bits hold most groups whole, 16 few (in the later
    // rounds, where odd lines are rare, next to none).
    std::mt19937_64 random(19);
    for (const unsigned narrowBits : {2u, 3u, 5u, 16u}) {
        for (int round = 0; round < 30; ++round) {
            SCOPED_TRACE(::testing::Message() << "bits " << narrowBits << " round " << round);
            const std::uint64_t lineEnd = 1 + static_cast<std::uint64_t>(round % 2);
            LineEnds ends(narrowBits);
            std::vector<std::uint64_t> entries;
            for (int i = 0; i < 600; ++i) {
                if (random() % 50 == 0) {
                    for (std::size_t off = random() % 100; off > 0 && !entries.empty(); --off) {
                        ends.pop_back();
                        entries.pop_back();
                    }
                    continue;
                }
                const std::uint64_t entry =
                    nextEntry(entries.empty() ? 0 : entries.back(), random, lineEnd);
                ends.push_back(entry);
                entries.push_back(entry);
            }
            expectSame(ends, entries);

            LineEnds later(narrowBits);
            std::vector<std::uint64_t> laterEntries;
            const std::uint64_t odds = round < 15 ? 20 : 20'000;
            for (int i = 0; i < 700; ++i) {
                laterEntries.push_back(
                    nextEntry(laterEntries.empty() ? entries.back() : laterEntries.back(), random,
                              lineEnd, odds));
                later.push_back(laterEntries.back());
            }
            const std::size_t first = random() % 100;
            ends.moveFrom(later, first, laterEntries.size());
            entries.insert(entries.end(), laterEntries.begin() + static_cast<std::ptrdiff_t>(first),
                           laterEntries.end());
            expectSame(ends, entries);
            EXPECT_EQ(ends.back(), entries.back());
        }
    }
}

TEST(LineEnds, EntriesMovedOverAreHeldAsIfAddedOneByOne) {
    // Moved a group at a time from every place within the other index's
    // groups: groups of distances stay so (also next to a long line that
    // the lines moved leave out), groups held whole where a line end
    // differs or the lines end further apart than the distances reach
    // (11 bits: about half the groups of these short lines).
    std::mt19937_64 random(23);
    for (const unsigned narrowBits : {11u, 16u}) {
        for (const std::uint64_t odds : {std::uint64_t{8}, std::uint64_t{20'000}}) {
            for (std::size_t first = 64; first < 128; ++first) {
                SCOPED_TRACE(::testing::Message()
                             << "bits " << narrowBits << " odds " << odds << " first " << first);
                // CR LF and LF taking turns at every other group's border.
                const auto lineEnd = [](int i) {
                    return 1 + static_cast<std::uint64_t>(i / 128 % 2);
                };
                std::vector<std::uint64_t> entries{2};
                for (int i = 1; i < 1000; ++i)
                    entries.push_back(narrowBits == 16 && i % 97 == 0
                                          ? entries.back() + (38'000 << 2)
                                          : nextEntry(entries.back(), random, lineEnd(i), odds));
                LineEnds other(narrowBits);
                LineEnds moved(narrowBits);
                LineEnds added(narrowBits);
                for (std::size_t i = 0; i < entries.size(); ++i) {
                    other.push_back(entries[i]);
                    // Up to 2 lines short of a group's border before the move.
                    if (i < 62 + first % 3) moved.push_back(entries[i]);
                    if (i < 62 + first % 3 || i >= first) added.push_back(entries[i]);
                }
                moved.moveFrom(other, first, entries.size());
                EXPECT_TRUE(moved == added);
            }
        }
    }
}

TEST(LineEnds, EntriesTakenOffLeaveNoGroupBehind) {
    // Groups held whole taken off down to none, part of the first, the
    // first whole and one more; small entries added again, the index
    // reused after clear.
    for (const std::size_t keep : {0, 1, 63, 64, 65}) {
        SCOPED_TRACE(keep);
        LineEnds ends;
        std::vector<std::uint64_t> entries;
        for (std::uint64_t i = 0; i < 200; ++i) entries.push_back(i < 100 ? i * 8 + 2 : i << 20);
        for (const std::uint64_t entry : entries) ends.push_back(entry);
        while (entries.size() > keep) {
            ends.pop_back();
            entries.pop_back();
        }
        const std::uint64_t last = entries.empty() ? 0 : entries.back();
        for (std::uint64_t more = 1; more < 140; ++more) {
            ends.push_back(last + more * 4);
            entries.push_back(last + more * 4);
        }
        expectSame(ends, entries);
        ends.clear();
        ends.push_back(7);
        expectSame(ends, {7});
    }
}

}  // namespace
}  // namespace kestal
