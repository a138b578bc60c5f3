#include <gtest/gtest.h>

#include <numeric>
#include <string>
#include <vector>

#include "calls/CallRow.h"
#include "calls/CallScan.h"
#include "lines/LogLines.h"
#include "output/CallStatistics.h"

namespace kestal {
namespace {

// The calls of statistics-ppplog.txt, worked out by hand:
//   A 12-28-2026 10:00:00  600 s, layers 1.3 2.1 3.0 3.5, bytes 1000/500,
//     frames 100/50, errors 1 + 2
//   B 12-28-2026 23:59:50  past midnight, 21 s, layers 1.4 2.2 3.1 -,
//     bytes 2001/10, frames 200/3, errors 1
//   C 12-29-2026 08:00:00  cut short by D, LCP 1.5, no counters
//   D 12-29-2026 08:00:05  3600 s, layers 1.3 2.0 3.2 4.0, bytes 30000/4000,
//     frames 1180/47, errors 2 + 1 + 1 (one of them a buffer overrun)
//   E 01-02-2027 12:00:00  zero length, Bytes Rx 7, frames 0/0, no errors
//   F 99-99-2026 07:00:00  no date, 100 s, bytes 100/"12x", frames 10/10,
//     errors 1
// 2027-01-02 is the Saturday of ISO week 2026-W53, which began on 12-28.
struct PeriodCase {
    StatisticsPeriod by;
    std::vector<std::string> lines;
};

std::vector<int> allRows(const CallTable& table) {
    std::vector<int> rows(static_cast<std::size_t>(table.callCount()));
    std::iota(rows.begin(), rows.end(), 0);
    return rows;
}

CallTable fixtureTable() {
    LogLines lines;
    readLogFile(KESTAL_TEST_DATA "/log/statistics-ppplog.txt", lines);
    CallTable table{kDialUpColumns};
    scanCalls(lines, table, RegionalSettings{}, nullptr);
    return table;
}

TEST(CallStatisticsTest, FixtureFiguresPerPeriod) {
    const std::string header =
        "Period\tCalls\tOnline Time\tMean Duration\tMedian Duration\tLongest Duration\tCut "
        "Short\tLCP Mean\tCHAP Mean\tIPCP Mean\tCCP Mean\tBytes Rx\tBytes Tx\tErrors\tErrors per "
        "1000 Frames";
    const std::string early =
        "\t2\t0:10:21\t0:05:11\t0:00:21\t0:10:00\t0\t1.35\t2.15\t3.05\t3.50"
        "\t3001\t510\t4\t11.33";
    const std::string late =
        "\t2\t1:00:00\t1:00:00\t1:00:00\t1:00:00\t1\t1.40\t2.00\t3.20\t4.00"
        "\t30000\t4000\t4\t3.26";
    const std::string untimed = "\t1\t-\t-\t-\t-\t0\t-\t-\t-\t-\t7\t0\t0\t-";
    const std::string unknown =
        "unknown\t1\t0:01:40\t0:01:40\t0:01:40\t0:01:40\t0\t-\t-\t-\t-\t100\t0\t1\t50.00";
    const std::string december = "\t1:10:21\t0:23:27\t0:10:00\t1:00:00\t1\t1.38\t2.10\t3.10\t3.75";
    const PeriodCase cases[] = {
        {StatisticsPeriod::All,
         {header,
          "all\t6\t1:12:01\t0:18:00\t0:01:40\t1:00:00\t1\t1.38\t2.10\t3.10\t3.75\t33108"
          "\t4510\t9\t5.63"}},
        {StatisticsPeriod::Day,
         {header, "2026-12-28" + early, "2026-12-29" + late, "2027-01-02" + untimed, unknown}},
        {StatisticsPeriod::Week,
         {header, "2026-W53\t5" + december + "\t33008\t4510\t8\t5.06", unknown}},
        {StatisticsPeriod::Month,
         {header, "2026-12\t4" + december + "\t33001\t4510\t8\t5.06", "2027-01" + untimed,
          unknown}},
    };
    const CallTable table = fixtureTable();
    ASSERT_EQ(table.callCount(), 6);
    for (const PeriodCase& c : cases) {
        std::string expected;
        for (const std::string& line : c.lines) expected += line + "\r\n";
        EXPECT_EQ(statisticsText(statisticsOf(table, allRows(table), c.by),
                                 StatisticsLayout::TabSeparated, true),
                  expected)
            << static_cast<int>(c.by);
    }
}

TEST(CallStatisticsTest, OnlyTheGivenRowsCount) {
    const CallTable table = fixtureTable();
    const std::vector<StatisticsRow> rows = statisticsOf(table, {1, 3}, StatisticsPeriod::All);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(statisticsLine(rows[0], StatisticsLayout::CommaSeparated),
              "all,2,1:00:21,0:30:11,0:00:21,1:00:00,0,1.35,2.10,3.15,4.00,32001,4010,5,3.50");
}

TEST(CallStatisticsTest, NoCallsGiveNoRows) {
    const CallTable empty{kDialUpColumns};
    EXPECT_EQ(statisticsText(statisticsOf(empty, {}, StatisticsPeriod::Day),
                             StatisticsLayout::CommaSeparated, true),
              "Period,Calls,Online Time,Mean Duration,Median Duration,Longest Duration,Cut Short,"
              "LCP Mean,CHAP Mean,IPCP Mean,CCP Mean,Bytes Rx,Bytes Tx,Errors,Errors per 1000 "
              "Frames\r\n");
    EXPECT_EQ(statisticsText({}, StatisticsLayout::TabSeparated, false), "");
}

TEST(CallStatisticsTest, CellsWithRegionalSeparatorsFiguresWrittenWithDots) {
    CallRowBuilder builder(RegionalSettings{',', '.'});
    CallTable table{kDialUpColumns};
    for (const auto& [end, lcp] : {std::pair{"12-01-2026 10:00:07", "10:00:01.3"},
                                   std::pair{"12-01-2026 10:00:08", "10:00:01.4"}}) {
        CallSummary call;
        call.startText = "12-01-2026 10:00:00";
        call.endText = end;
        call.layerTimes = {lcp, "10:00:02.0", "", "10:00:00.9"};
        table.addCall(builder.build(call).built());
    }
    EXPECT_EQ(table.cell(Column::Duration, 0), "00.00.07");
    EXPECT_EQ(table.cell(Column::Lcp, 1), "1,4");
    const std::vector<StatisticsRow> rows = statisticsOf(table, {0, 1}, StatisticsPeriod::All);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][3], "0:00:08");  // 7.5 s, halves up
    EXPECT_EQ(rows[0][4], "0:00:07");  // the lower middle
    EXPECT_EQ(rows[0][7], "1.35");
    EXPECT_EQ(rows[0][8], "2.00");
    EXPECT_EQ(rows[0][9], "-");
    EXPECT_EQ(rows[0][10], "0.90");
}

// Calls whose counters outgrow 32 and 64 bits, a Start Time of a day only or
// none at all, a call cut short: the table's values read where they are kept
// give what the same calls give one by one through their CallValues.
TEST(CallStatisticsTest, TableRowsSumAsTheirCallValues) {
    struct Call {
        const char* start;
        const char* end;
        const char* duration;
        const char* lcp;
        const char* bytesRx;
        const char* framesRx;
        const char* crcErrors;
        const char* bufferErrors;
    };
    const Call calls[] = {
        {"12-01-2026 10:00:00", "12-01-2026 10:10:00", "00:10:00", "1.3", "1000", "10", "1", ""},
        {"12-01-2026 23:00:00", "12-01-2026 23:00:07", "00:00:07", "0.5", "4294967295",
         "4294967294", "4294967295", "4294967296"},
        {"12-02-2026 08:00:00", "-", "", "", "18446744073709551615", "4294967296",
         "18446744073709551615", "18446744073709551615"},
        {"12-02-2026 xx:00:00", "12-02-2026 09:00:00", "", "2.0", "12x", "", "", "3"},
        {"99-99-2026 07:00:00", "99-99-2026 07:01:40", "00:01:40", "", "5", "5", "", ""},
    };
    CallTable table{kDialUpColumns};
    for (const Call& call : calls) {
        RowTexts texts{};
        texts[kStartTimeColumn] = call.start;
        texts[kEndTimeColumn] = call.end;
        texts[kDurationColumn] = call.duration;
        texts[kLcpColumn] = call.lcp;
        texts[kBytesRxColumn] = call.bytesRx;
        texts[kFramesRxColumn] = call.framesRx;
        texts[kCrcErrorsColumn] = call.crcErrors;
        texts[kBufferErrorsColumn] = call.bufferErrors;
        table.addCall(texts, marksOfCells(call.end));
    }
    ASSERT_EQ(table.callCount(), 5);
    for (const StatisticsPeriod by : {StatisticsPeriod::All, StatisticsPeriod::Day,
                                      StatisticsPeriod::Week, StatisticsPeriod::Month}) {
        CallStatistics oneByOne(by);
        for (int row = 0; row < table.callCount(); ++row) oneByOne.add(callValuesOf(table, row));
        EXPECT_EQ(statisticsText(statisticsOf(table, allRows(table), by),
                                 StatisticsLayout::TabSeparated, false),
                  statisticsText(oneByOne.rows(), StatisticsLayout::TabSeparated, false))
            << static_cast<int>(by);
    }
    // 1000 + (2^32 - 1) + (2^64 - 1) + 5; errors 1 + (2^32 - 1) + 2^32 + 2 (2^64 - 1) + 3.
    const std::vector<StatisticsRow> all =
        statisticsOf(table, allRows(table), StatisticsPeriod::All);
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0][11], "18446744078004519915");
    EXPECT_EQ(all[0][13], "36893488156009037825");
    EXPECT_EQ(all[0][6], "1");
    const std::vector<StatisticsRow> days =
        statisticsOf(table, allRows(table), StatisticsPeriod::Day);
    ASSERT_EQ(days.size(), 3u);
    EXPECT_EQ(days[1][0], "2026-12-02");
    EXPECT_EQ(days[1][1], "2");  // the Start Time of a day only counts on its day
}

TEST(CallStatisticsTest, RegionalSeparatorsOnlyInTimesAndDecimals) {
    StatisticsRow row = {"2026-12-01", "1234", "12:03:05", "0:10:21", "0:00:21",
                         "1:00:00",    "2",    "1.35",     "-",       "3.05",
                         "10.00",      "3001", "510",      "4",       "11.33"};
    struct Case {
        RegionalSettings settings;
        std::array<const char*, 6> figures;  // Online Time, Mean, LCP, CHAP, CCP, per 1000
    };
    const Case cases[] = {
        {{'.', ':'}, {"12:03:05", "0:10:21", "1.35", "-", "10.00", "11.33"}},
        {{',', '.'}, {"12.03.05", "0.10.21", "1,35", "-", "10,00", "11,33"}},
        {{',', ':'}, {"12:03:05", "0:10:21", "1,35", "-", "10,00", "11,33"}},
    };
    for (const Case& c : cases) {
        std::vector<StatisticsRow> rows{row};
        useRegionalSeparators(rows, c.settings);
        const StatisticsRow& shown = rows[0];
        const std::array<std::string, 6> figures = {shown[2], shown[3],  shown[7],
                                                    shown[8], shown[10], shown[14]};
        for (std::size_t i = 0; i < figures.size(); ++i)
            EXPECT_EQ(figures[i], c.figures[i]) << c.settings.decimalSeparator << " " << i;
        // Periods, counts and sums stay as they are.
        for (const int unchanged : {0, 1, 6, 11, 12, 13})
            EXPECT_EQ(shown[static_cast<std::size_t>(unchanged)],
                      row[static_cast<std::size_t>(unchanged)]);
    }
}

TEST(CallStatisticsTest, NumberTexts) {
    struct Case {
        __int128 numerator;
        __int128 denominator;
        const char* text;
    };
    const Case cases[] = {
        {201, 200, "1.01"},  // 1.005: a double would hold 1.00499...
        {1, 3, "0.33"},     {2, 3, "0.67"}, {-1, 200, "0.00"},
        {-3, 200, "-0.01"}, {0, 5, "0.00"}, {123456789, 1, "123456789.00"},
    };
    for (const Case& c : cases) EXPECT_EQ(twoDecimals(c.numerator, c.denominator), c.text);

    EXPECT_EQ(hoursMinutesSeconds(0), "0:00:00");
    EXPECT_EQ(hoursMinutesSeconds(59), "0:00:59");
    EXPECT_EQ(hoursMinutesSeconds(36000), "10:00:00");
    EXPECT_EQ(hoursMinutesSeconds(1234567), "342:56:07");
    EXPECT_EQ(wideCountText(WideCount{18446744073709551615u} * 10 + 9), "184467440737095516159");
}

TEST(CallStatisticsTest, PeriodNames) {
    using namespace std::chrono;
    struct Case {
        year_month_day date;
        const char* week;
    };
    const Case cases[] = {
        {2027y / January / 3, "2026-W53"},   {2027y / January / 4, "2027-W01"},
        {2024y / December / 30, "2025-W01"}, {2021y / January / 3, "2020-W53"},
        {2026y / June / 15, "2026-W25"},
    };
    for (const Case& c : cases) EXPECT_EQ(periodName(StatisticsPeriod::Week, c.date), c.week);
    EXPECT_EQ(periodName(StatisticsPeriod::Day, 2026y / March / 5), "2026-03-05");
    EXPECT_EQ(periodName(StatisticsPeriod::Month, 2026y / March / 5), "2026-03");
    EXPECT_EQ(periodName(StatisticsPeriod::All, std::nullopt), "all");
    EXPECT_EQ(periodName(StatisticsPeriod::Month, std::nullopt), "unknown");
}

}  // namespace
}  // namespace kestal
