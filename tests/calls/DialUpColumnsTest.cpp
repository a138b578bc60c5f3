// The dial-up log's columns as its table describes them, and the values its
// row builder gives each cell.
#include <gtest/gtest.h>

#include <string>

#include "calls/CallRow.h"
#include "calls/CallScan.h"
#include "calls/DialUpColumns.h"
#include "support/LogTestHelpers.h"
#include "support/TempDir.h"
#include "table/CallOrder.h"
#include "table/ValueReaders.h"

namespace kestal {
namespace {

TEST(DialUpColumnsTest, EachColumnSaysItsKindAndWhereItsTextComesFrom) {
    for (int c = 0; c < kColumnCount; ++c) {
        const TableColumn& column = kDialUpColumns[static_cast<std::size_t>(c)];
        const std::string_view header = column.header;
        SCOPED_TRACE(header);
        if (header.ends_with("Time")) {
            EXPECT_EQ(column.kind, ValueKind::Time);
            EXPECT_EQ(column.source, CellSource::Logged);
        } else if (header == "Duration") {
            EXPECT_EQ(column.kind, ValueKind::Duration);
            EXPECT_EQ(column.source, CellSource::Written);
        } else if (c >= kFirstLayerColumn && c < kFirstLayerColumn + kLayerColumnCount) {
            EXPECT_EQ(column.kind, ValueKind::Decimal);
            EXPECT_EQ(column.decimals, 1);  // tenths of a second
            EXPECT_EQ(column.source, CellSource::Written);
        } else {
            EXPECT_EQ(column.kind, ValueKind::Number);
            EXPECT_EQ(column.source, CellSource::Logged);
        }
    }
    EXPECT_EQ(kDialUpColumns[kFirstErrorColumn].header, "CRC Errors");
    EXPECT_EQ(kDialUpColumns[kFirstErrorColumn + kErrorColumnCount - 1].header,
              "Incomplete Packets");
    EXPECT_EQ(columnOfHeader(kDialUpColumns, "bytes tx"), kBytesTxColumn);
    EXPECT_EQ(columnOfHeader(kDialUpColumns, " Bytes Tx"), -1);
}

// What sorting, the filter and the figures take of a cell is what its text
// shows in the user's region: the values the scan gives are those the cell
// readers read from the cells it writes, whatever the separators.
TEST(DialUpColumnsTest, ScannedRowsHoldTheValuesTheirCellsShow) {
    const LogLines lines =
        LogLines::fromBytes(testing::readBytes(KESTAL_TEST_DATA "/log/statistics-ppplog.txt"));
    for (const RegionalSettings settings :
         {RegionalSettings{'.', ':'}, RegionalSettings{',', ':'}, RegionalSettings{',', '.'}}) {
        SCOPED_TRACE((std::string{settings.decimalSeparator, settings.timeSeparator}));
        CallTable table{kDialUpColumns};
        scanCalls(lines, table, settings, {});
        ASSERT_GT(table.callCount(), 5);
        int layers = 0;
        for (int row = 0; row < table.rowCount(); ++row) {
            for (int c = 0; c < kColumnCount; ++c) {
                const TableColumn& column = kDialUpColumns[static_cast<std::size_t>(c)];
                EXPECT_EQ(table.value(c, row), readCellValue(column, table.cell(c, row), settings))
                    << "row " << row << " " << column.header << " '" << table.cell(c, row) << "'";
            }
            EXPECT_EQ(table.marks(row), marksOfCells(table.cell(Column::EndTime, row))) << row;
            layers += table.value(Column::Lcp, row).whole();
        }
        EXPECT_GT(layers, 0);  // the log's layer cells hold numbers
    }
}

TEST(DialUpColumnsTest, LayerTimesWrittenWithACommaSortByTheirValues) {
    CallRowBuilder rows(RegionalSettings{',', ':'});
    CallTable table{kDialUpColumns};
    for (const char* layer : {"10:00:10.0", "10:00:02.6", "10:00:00.9"}) {
        CallSummary call;
        call.startText = "12-01-2026 10:00:00";
        call.endText = "12-01-2026 10:10:00";
        call.layerTimes[0] = layer;
        table.addCall(rows.build(call).built());
    }
    EXPECT_EQ(table.cell(Column::Lcp, 0), "10,0");
    EXPECT_EQ(table.cell(Column::Lcp, 2), "0,9");
    EXPECT_EQ(sortedRows(table, SortOrder{kLcpColumn, SortDirection::Ascending}),
              (std::vector<int>{2, 1, 0}));
}

}  // namespace
}  // namespace kestal
