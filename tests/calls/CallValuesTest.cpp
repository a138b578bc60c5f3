// The values that Statistics, Trends and the filter take of a call, from its
// row's typed values: the same as the cell readers make of each cell.
#include <gtest/gtest.h>

#include <vector>

#include "calls/CallValues.h"
#include "table/ValueReaders.h"

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
    };
    const Case cases[] = {
        {"layer as the scan writes it", kLcpColumn, "2.6"},
        {"layer with blanks", kLcpColumn, " 13.0 "},
        {"layer without decimals", kLcpColumn, "4"},
        {"layer with two decimals, rounded", kLcpColumn, "1.35"},
        {"layer with a sign", kLcpColumn, "+2.5"},
        {"layer none", kLcpColumn, "-"},
        {"layer of ten digits", kLcpColumn, "1234567890.1"},
        {"counter behind blanks", kBytesRxColumn, "          1000"},
        {"counter with a letter", kBytesRxColumn, "   12x"},
        {"counter blank", kBytesRxColumn, "   "},
        {"counter of 20 digits, too big", kBytesRxColumn, "99999999999999999999"},
        {"counter of 20 digits that fits", kBytesRxColumn, "18446744073709551615"},
        {"counter with a blank inside", kBytesRxColumn, " 1 2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CallTable table{kDialUpColumns};
        table.setCell(c.column, 0, c.cell);
        const CallValues values = callValuesOf(table, 0);
        if (c.column == kLcpColumn) {
            const auto expected = readLayerTenths(c.cell, RegionalSettings{});
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
    CallTable table{kDialUpColumns};
    table.writeRow(0, cells);
    const CallValues call = callValuesOf(table, 0);
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
    table.writeRow(0, cells, marksOfCells(cells[1]));
    const CallValues undated = callValuesOf(table, 0);
    EXPECT_EQ(undated.startDay, 20788);  // 2026-12-01
    EXPECT_FALSE(undated.startTime());
    EXPECT_TRUE(undated.cutShort);
    EXPECT_EQ(undated.duration, CallValues::kNone);
}

}  // namespace
}  // namespace kestal
