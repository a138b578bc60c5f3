// Finished rows come back from their packing as they went in: every field,
// in log order, past the number of texts kept once and past a block.
#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <tuple>
#include <vector>

#include "pppd/FinishedRows.h"

namespace kestal {
namespace {

// What a finished row keeps (the counted-once marks matter only while a row
// is being made).
auto kept(const RowFacts& r) {
    const auto stamp = [](const std::optional<Stamp>& s) {
        return s ? std::make_tuple(true, s->printed, s->yearStep)
                 : std::make_tuple(false, PrintedTime{}, 0);
    };
    return std::make_tuple(
        r.session, r.terminated, r.closed, r.pid, r.firstLine, r.lastLine, r.lines, stamp(r.start),
        stamp(r.end), stamp(r.last), r.interface, r.device, r.usingInterface, r.auth, r.peer,
        r.localIp, r.remoteIp, r.primaryDns, r.secondaryDns, r.localLinkLocal, r.remoteLinkLocal,
        r.tenths, r.sent, r.received, r.connectTimeKnown, r.bytesKnown, r.endedBy, r.reason);
}

std::vector<RowFacts> unpacked(const FinishedRows& rows) {
    std::vector<RowFacts> out;
    for (const std::size_t place : rows.logOrder()) out.push_back(rows.unpack(place));
    return out;
}

RowFacts everyField() {
    RowFacts r;
    r.session = r.terminated = r.closed = r.connectTimeKnown = r.bytesKnown = true;
    r.pid = std::numeric_limits<int>::max();
    r.firstLine = 5'000'000'000;  // past 32 bits
    r.lastLine = r.firstLine + 300;
    // A copy read late comes before the line before it.
    r.lines = {r.firstLine, r.firstLine + 200, r.firstLine + 3, r.lastLine};
    r.start = Stamp{PrintedTime{0, 12, 31, 23, 59, 60, std::nullopt}, 3};
    r.end = Stamp{PrintedTime{2024, 1, 1, 0, 0, 1, -9 * 3600 - 1800}, 0};
    r.last = Stamp{PrintedTime{2024, 2, 29, 12, 0, 0, 14 * 3600}, -1};
    r.interface = "ppp0";
    r.device = "/dev/ttyUSB0";
    r.usingInterface = "ppp0";
    r.auth = "CHAP";
    r.peer = "provider";
    r.localIp = "10.64.64.64";
    r.remoteIp = "10.112.112.112";
    r.primaryDns = "192.0.2.1";
    r.secondaryDns = "192.0.2.2";
    r.localLinkLocal = "fe80::1";
    r.remoteLinkLocal = "fe80::2";
    r.tenths = 123'456'789;
    r.sent = std::numeric_limits<std::uint64_t>::max();
    r.received = 0;
    r.endedBy = PppdMessage::EchoTimeout;
    r.reason = std::string(300, 'x') + "\xff\x01";  // longer than one byte of length
    return r;
}

TEST(FinishedRowsTest, EveryFieldComesBackAsItWent) {
    RowFacts bare;  // no pid, no times, empty texts
    bare.firstLine = 7;
    bare.lastLine = 7;
    const std::vector<RowFacts> rows{everyField(), bare};
    FinishedRows finished;
    for (std::size_t i = 0; i < rows.size(); ++i) finished.add(i, RowFacts(rows[i]));
    const std::vector<RowFacts> back = unpacked(finished);
    ASSERT_EQ(back.size(), 2u);
    // Log order: the row of line 7 first.
    EXPECT_EQ(kept(back[0]), kept(rows[1]));
    EXPECT_EQ(kept(back[1]), kept(rows[0]));
}

// A row unpacked over another keeps nothing of it: every field, the bare
// row's missing ones too, in either order.
TEST(FinishedRowsTest, ARowUnpackedOverAnotherKeepsNothingOfIt) {
    RowFacts bare;
    bare.firstLine = 7;
    bare.lastLine = 7;
    FinishedRows finished;
    finished.add(0, everyField());
    finished.add(1, RowFacts(bare));
    for (const std::vector<std::size_t> places :
         {std::vector<std::size_t>{0, 1, 0}, std::vector<std::size_t>{1, 0, 1}}) {
        RowFacts reused;
        reused.connectTimeCounted = reused.bytesCounted = true;
        for (const std::size_t place : places) {
            finished.unpack(place, reused);
            EXPECT_EQ(kept(reused), kept(finished.unpack(place))) << place;
            EXPECT_FALSE(reused.connectTimeCounted || reused.bytesCounted) << place;
        }
    }
}

TEST(FinishedRowsTest, ManyRowsPastTheTextsKeptOnceAndPastABlock) {
    // 70,000 rows each with a reason of its own: past the 65,536 texts kept
    // once the rest are packed whole; the rows' lines take several blocks.
    FinishedRows finished;
    std::vector<RowFacts> rows;
    constexpr std::size_t kRows = 70'000;
    for (std::size_t i = 0; i < kRows; ++i) {
        RowFacts r;
        // Rows began out of log order, and two on the same line.
        r.firstLine = (kRows - i) / 2 * 10;
        r.lastLine = r.firstLine + 9;
        for (std::uint64_t l = r.firstLine; l <= r.lastLine; ++l) r.lines.push_back(l);
        r.reason = "reason " + std::to_string(i);
        r.interface = i % 2 == 0 ? "ppp0" : "ppp1";
        r.pid = static_cast<long>(i);
        rows.push_back(r);
        finished.add(i, std::move(r));
    }
    EXPECT_EQ(finished.size(), kRows);
    EXPECT_GT(finished.bytes(), std::size_t{1} << 20);
    const std::vector<RowFacts> back = unpacked(finished);
    ASSERT_EQ(back.size(), kRows);
    for (std::size_t k = 0; k + 1 < kRows; ++k) {
        const bool inOrder =
            back[k].firstLine < back[k + 1].firstLine ||
            (back[k].firstLine == back[k + 1].firstLine && *back[k].pid < *back[k + 1].pid);
        ASSERT_TRUE(inOrder) << k;
    }
    for (const RowFacts& row : back) {
        ASSERT_EQ(kept(row), kept(rows[static_cast<std::size_t>(*row.pid)])) << *row.pid;
    }
}

}  // namespace
}  // namespace kestal
