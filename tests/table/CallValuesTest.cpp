// The values that Statistics and Trends keep per call, read straight from
// the cells: the same as the cell readers make of each cell, on one thread
// or two.
#include <gtest/gtest.h>

#include <numeric>
#include <stdexcept>
#include <vector>

#include "table/CallValues.h"

namespace kestal {
namespace {

RowCells callCells() {
    return {"12-01-2026 10:00:07",
            "12-01-2026 10:10:07",
            "00:10:00",
            "2.6",
            "13.0",
            "4",
            "-",
            "   1000",
            "    500",
            "100",
            "50",
            "          0",
            "1",
            "2",
            "",
            "x",
            "0",
            "3"};
}

TEST(CallValuesTest, EachCellReadAsTheCellReadersReadIt) {
    struct Case {
        const char* what;
        int column;
        const char* cell;
        RegionalSettings settings;
    };
    const RegionalSettings comma{',', '.'};
    const Case cases[] = {
        {"layer as the scan writes it", kLcpColumn, "2.6", {}},
        {"layer with blanks", kLcpColumn, " 13.0 ", {}},
        {"layer without decimals", kLcpColumn, "4", {}},
        {"layer with two decimals, rounded", kLcpColumn, "1.35", {}},
        {"layer with the regional comma", kLcpColumn, "1,5", comma},
        {"layer with a point on a comma locale", kLcpColumn, "1.5", comma},
        {"layer with a sign", kLcpColumn, "+2.5", {}},
        {"layer none", kLcpColumn, "-", {}},
        {"layer of ten digits", kLcpColumn, "1234567890.1", {}},
        {"counter behind blanks", kBytesRxColumn, "          1000", {}},
        {"counter with a letter", kBytesRxColumn, "   12x", {}},
        {"counter blank", kBytesRxColumn, "   ", {}},
        {"counter of 20 digits, too big", kBytesRxColumn, "99999999999999999999", {}},
        {"counter of 20 digits that fits", kBytesRxColumn, "18446744073709551615", {}},
        {"counter with a blank inside", kBytesRxColumn, " 1 2", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RowTexts cells{};
        cells[static_cast<std::size_t>(c.column)] = c.cell;
        const CallValues values = readCallValues(cells, c.settings);
        if (c.column == kLcpColumn) {
            const auto expected = readLayerTenths(c.cell, c.settings);
            EXPECT_EQ(values.hasLayer(0), expected.has_value());
            EXPECT_EQ(values.layerTenths[0], expected.value_or(0));
        } else {
            const auto expected = readCountCell(c.cell);
            EXPECT_EQ(values.hasTraffic(kBytesRx), expected.has_value());
            EXPECT_EQ(values.traffic[kBytesRx], expected.value_or(0));
        }
    }
}

TEST(CallValuesTest, StartDurationEndAndErrors) {
    RowCells cells = callCells();
    CallTable table;
    table.writeRow(1, cells);
    const CallValues call = readCallValues(table, 1, RegionalSettings{});
    EXPECT_EQ(call.startTime(), readCellDateTime(cells[0]));
    EXPECT_EQ(call.duration, 600);
    EXPECT_FALSE(call.cutShort);
    EXPECT_EQ(call.layerTenths, (std::array<std::int64_t, 4>{26, 130, 40, 0}));
    EXPECT_EQ(call.layers, 0b0111);
    EXPECT_EQ(call.traffic, (std::array<std::uint64_t, 4>{1000, 500, 100, 50}));
    EXPECT_TRUE(call.errors == 6);  // blank and "x" skipped

    // A date without a readable time of day: the day counts, the time not.
    cells[0] = "12-01-2026 9x:00:07";
    cells[1] = "-   ";
    cells[2] = "-";
    table.writeRow(1, cells);
    const CallValues undated = readCallValues(table, 1, RegionalSettings{});
    EXPECT_EQ(undated.startDay, 20788);  // 2026-12-01
    EXPECT_FALSE(undated.startTime());
    EXPECT_TRUE(undated.cutShort);
    EXPECT_EQ(undated.duration, CallValues::kNone);
}

TEST(CallValuesTest, ManyRowsReadByTwoThreadsInTheOrderGiven) {
    CallTable table;
    const int count = 40000;  // enough for the second thread
    table.setRowCount(count + 1);
    RowCells cells = callCells();
    for (int row = 1; row <= count; ++row) {
        cells[2] = row % 7 == 0 ? "-" : "00:00:" + std::to_string(10 + row % 50);
        cells[kBytesRxColumn] = std::to_string(row);
        table.writeRow(row, cells);
    }
    std::vector<int> rows(count);
    std::iota(rows.rbegin(), rows.rend(), 1);  // last row first
    const std::vector<CallValues> values = readCallValues(table, rows, RegionalSettings{});
    ASSERT_EQ(values.size(), rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const CallValues one = readCallValues(table, rows[i], RegionalSettings{});
        ASSERT_EQ(values[i].traffic, one.traffic) << i;
        ASSERT_EQ(values[i].duration, one.duration) << i;
    }
    EXPECT_EQ(values.front().traffic[kBytesRx], static_cast<std::uint64_t>(count));
    EXPECT_EQ(&valueOfRow(values, 1), &values[0]);
    EXPECT_THROW(valueOfRow(values, 0), std::out_of_range);
    EXPECT_THROW(valueOfRow(values, count + 1), std::out_of_range);
    EXPECT_THROW(readCallValues(table, std::vector<int>(count, count + 1), RegionalSettings{}),
                 std::out_of_range);
}

}  // namespace
}  // namespace kestal
