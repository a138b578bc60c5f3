#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "calls/DialUpColumns.h"
#include "table/ValueReaders.h"

namespace kestal {
namespace {

constexpr RegionalSettings kDot{'.', ':'};
constexpr RegionalSettings kComma{',', ':'};
constexpr RegionalSettings kFinnish{',', '.'};

TEST(ValueReadersTest, DatesAndTimesOfTheLog) {
    struct Case {
        const char* cell;
        std::optional<std::int64_t> seconds;
    };
    const Case cases[] = {
        {"01-01-1970 00:00:00", 0},
        {"12-02-2026 13:59:04", 1796219944},
        {"02-29-2024 23:59:59", 1709251199},
        {"12-02-2026 13:59:04 and more", 1796219944},
        {"02-29-2023 10:00:00", std::nullopt},  // no such day
        {"13-01-2026 10:00:00", std::nullopt},
        {"12-02-2026 24:00:00", std::nullopt},
        {"12/02/2026 13:59:04", std::nullopt},
        {"12-02-2026", std::nullopt},
        {"-                ", std::nullopt},
        {"", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(readCellDateTime(c.cell), c.seconds) << c.cell;

    using namespace std::chrono;
    EXPECT_EQ(readCellDate("12-02-2026"), year_month_day(year{2026}, December, day{2}));
    EXPECT_EQ(readCellDate("12-02-2026 xx"), year_month_day(year{2026}, December, day{2}));
    EXPECT_EQ(readCellDate("12-32-2026"), std::nullopt);
    EXPECT_EQ(readCellDate("1-2-2026 10"), std::nullopt);
}

TEST(ValueReadersTest, DurationsLayerTimesAndCountsWithTheRegionalSeparators) {
    struct Case {
        int column;
        const char* cell;
        RegionalSettings settings;
        std::optional<std::int64_t> key;
    };
    const Case cases[] = {
        {kDurationColumn, "00:51:17", kDot, 3077},
        {kDurationColumn, "00.51.17", kFinnish, 3077},
        {kDurationColumn, "00:51:17", kFinnish, 3077},  // the log's own separator
        {kDurationColumn, "-       ", kDot, std::nullopt},
        {kDurationColumn, "", kDot, std::nullopt},
        {kLcpColumn, "2.6", kDot, 26},
        {kLcpColumn, "2,6", kComma, 26},
        {kChapColumn, "2.6", kComma, 26},
        {kIpcpColumn, "  0.9", kDot, 9},
        {kCcpColumn, "500.0", kDot, 5000},
        {kCcpColumn, "-", kDot, std::nullopt},
        {kLcpColumn, "2,6", kDot, std::nullopt},
        {kBytesRxColumn, "  123456 ", kDot, 123456},
        {kCrcErrorsColumn, "0", kDot, 0},
        {kFramesTxColumn, "", kDot, std::nullopt},
        {kFramesTxColumn, "   ", kDot, std::nullopt},
        {kFramesTxColumn, "12 34", kDot, std::nullopt},
        {kFramesTxColumn, "-5", kDot, std::nullopt},
        {kFramesTxColumn, "1.5", kDot, std::nullopt},
        {kIncompletePacketsColumn, "18446744073709551616", kDot, std::nullopt},
        {kStartTimeColumn, "12-02-2026 13:59:04", kFinnish, 1796219944},
    };
    for (const Case& c : cases) {
        const TableColumn& column = kDialUpColumns[static_cast<std::size_t>(c.column)];
        EXPECT_EQ(readCellValue(column, c.cell, c.settings).sortKey(column.kind), c.key)
            << c.column << " '" << c.cell << "'";
    }
    EXPECT_EQ(readCountCell("18446744073709551615"), 18446744073709551615u);
}

}  // namespace
}  // namespace kestal
