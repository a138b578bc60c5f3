// The values kept for Statistics and Trends follow the call table model: a
// load, calls added and the last call written again by a followed log,
// calls dropped.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <string>
#include <vector>

#include "AppFixture.h"
#include "app/CallTableModel.h"
#include "app/KeptCallValues.h"

namespace kestal::testing {
namespace {

RowCells callOf(int day, int bytesRx) {
    RowCells cells;
    cells[0] = "12-" + std::string(day < 10 ? "0" : "") + std::to_string(day) + "-2026 10:00:00";
    cells[2] = "00:01:00";
    cells[kBytesRxColumn] = std::to_string(bytesRx);
    return cells;
}

// Writes the calls into rows from first on, the table cut after them.
void writeCalls(CallTable& table, int first, const std::vector<int>& bytes) {
    table.setRowCount(first + static_cast<int>(bytes.size()));
    for (std::size_t i = 0; i < bytes.size(); ++i)
        table.writeRow(first + static_cast<int>(i), callOf(first + static_cast<int>(i), bytes[i]));
}

std::vector<std::uint64_t> bytesOf(const std::vector<CallValues>& values) {
    std::vector<std::uint64_t> bytes;
    for (const CallValues& call : values) bytes.push_back(call.traffic[kBytesRx]);
    return bytes;
}

void letThePiecesBeRead() {
    for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
}

// Runs the event loop for a while after a load: its first piece is read
// a tenth of a second after it, the others on from there.
void waitAfterALoad() {
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 400) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

// The values kept of a table's calls, a log of no bytes behind them.
class KeptCallValuesTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ensureApplication(); }
    KeptCallValuesTest() { kept.watch(&model); }

    FakePlatform platform;
    CallTable table;
    CallTableModel model{table};
    const LogLines lines;
    KeptCallValues kept{table, lines, platform};
};

TEST_F(KeptCallValuesTest, FollowTheTableThroughLoadsGrowthAndDroppedCalls) {
    EXPECT_TRUE(kept.values().empty());

    // A load writes the table, then resets the model; the values are read
    // ahead.
    writeCalls(table, 1, {1, 2, 3});
    model.setTable(table);
    waitAfterALoad();
    EXPECT_EQ(kept.keptCount(), 3u);
    EXPECT_EQ(bytesOf(kept.values()), (std::vector<std::uint64_t>{1, 2, 3}));

    // A followed log: its last call written again and two calls added.
    model.replaceRowsFrom(3, 6, [&] { writeCalls(table, 3, {30, 4, 5}); });
    letThePiecesBeRead();
    EXPECT_EQ(bytesOf(kept.values()), (std::vector<std::uint64_t>{1, 2, 30, 4, 5}));

    // Only the last call written again: the model tells no more than
    // dataChanged, maybe after the windows have asked.
    model.replaceRowsFrom(5, 6, [&] { writeCalls(table, 5, {50}); });
    EXPECT_EQ(bytesOf(kept.values()), (std::vector<std::uint64_t>{1, 2, 30, 4, 50}));

    // Calls dropped from the second on.
    model.replaceRowsFrom(2, 3, [&] { writeCalls(table, 2, {20}); });
    EXPECT_EQ(bytesOf(kept.values()), (std::vector<std::uint64_t>{1, 20}));

    // Another log, of no call.
    table.reset();
    model.setTable(table);
    letThePiecesBeRead();
    EXPECT_TRUE(kept.values().empty());
}

TEST_F(KeptCallValuesTest, ValuesHeavierThanTheLogAllowsAreReadWhenAskedFor) {
    // Over 16 MiB of values (96 bytes a call) and more than a sixteenth of
    // a log of no bytes: none read ahead, every one there when asked for,
    // read under the busy cursor.
    constexpr int kCalls = 180000;
    const std::vector<int> bytes(kCalls, 7);
    writeCalls(table, 1, bytes);
    model.setTable(table);
    waitAfterALoad();
    EXPECT_EQ(kept.keptCount(), 0u);
    EXPECT_TRUE(platform.cursorChanges.empty());
    EXPECT_EQ(bytesOf(kept.values()), std::vector<std::uint64_t>(kCalls, 7));
    EXPECT_EQ(platform.cursorChanges, (std::vector<bool>{true, false}));
}

}  // namespace
}  // namespace kestal::testing
