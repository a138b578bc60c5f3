#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "calls/DialUpColumns.h"
#include "table/CallTable.h"

namespace kestal {
namespace {

TEST(CallTableTest, ColumnsAreTitledSizedAndNamed) {
    struct Expected {
        const char* title;
        int width;
        const char* header;
        const char* word;
    };
    const Expected expected[kColumnCount] = {
        {" Start Time", 110, "Start Time", "Start Time"},
        {" End Time", 110, "End Time", "End Time"},
        {" Duration", 50, "Duration", "Duration"},
        {" LCP", 40, "LCP", "LCP time"},
        {" CHAP", 40, "CHAP", "CHAP time"},
        {" IPCP", 40, "IPCP", "IPCP time"},
        {" CCP", 40, "CCP", "CCP time"},
        {" Bytes Rx", 60, "Bytes Rx", "Bytes Rx"},
        {" Bytes Tx", 60, "Bytes Tx", "Bytes Tx"},
        {" Frames Rx", 60, "Frames Rx", "Frames Rx"},
        {" Frames Tx", 60, "Frames Tx", "Frames Tx"},
        {" CRC Errors", 70, "CRC Errors", "CRC"},
        {" Timeout Errors", 80, "Timeout Errors", "Timeout"},
        {" Alignment Errors", 90, "Alignment Errors", "Alignment"},
        {" Overrun errors", 80, "Overrun Errors", "Overrun"},
        {" Framing errors", 80, "Framing Errors", "Framing"},
        {" Buffer overrun errors", 115, "Buffer Errors", "Buffer"},
        {" Incomplete Packets", 100, "Incomplete Packets", "Incomplete"},
    };
    const CallTable table{kDialUpColumns};
    for (int c = 0; c < kColumnCount; ++c) {
        const TableColumn& info = kDialUpColumns[static_cast<std::size_t>(c)];
        EXPECT_EQ(info.title, expected[c].title) << c;
        EXPECT_EQ(info.width, expected[c].width) << c;
        EXPECT_EQ(info.header, expected[c].header) << c;
        EXPECT_EQ(info.word, expected[c].word) << c;
        EXPECT_EQ(table.columns()[static_cast<std::size_t>(c)].title, expected[c].title) << c;
    }
}

TEST(CallTableTest, StartsAndResetsToOneEmptyRow) {
    CallTable table{kDialUpColumns};
    EXPECT_EQ(table.rowCount(), 1);
    EXPECT_EQ(table.currentRow(), 0);
    EXPECT_EQ(table.callCount(), 0);
    for (int c = 0; c < kColumnCount; ++c) EXPECT_EQ(table.cell(columnAt(c), 0), "");

    table.setCell(Column::StartTime, 0, "12-01-2026 09:12:04");
    table.setRowCount(3);
    table.setCell(Column::Ipcp, 2, "3.1");
    table.setCurrentRow(2);
    table.setCurrentColumn(5);
    EXPECT_EQ(table.callCount(), 3);
    EXPECT_EQ(table.cell(Column::Ipcp, 1), "");  // added rows are empty

    table.reset();
    EXPECT_EQ(table.rowCount(), 1);
    EXPECT_EQ(table.currentRow(), 0);
    EXPECT_EQ(table.currentColumn(), 0);
    EXPECT_EQ(table.cell(Column::StartTime, 0), "");
    EXPECT_EQ(table.callCount(), 0);
}

TEST(CallTableTest, RowCountNeverDropsBelowOne) {
    CallTable table{kDialUpColumns};
    table.setRowCount(4);
    table.setCurrentRow(3);
    table.setRowCount(0);
    EXPECT_EQ(table.rowCount(), 1);
    EXPECT_EQ(table.currentRow(), 0);
}

TEST(CallTableTest, CellsKeepTheirTextsWhateverIsWrittenAround) {
    CallTable table{kDialUpColumns};
    RowCells first;
    for (int c = 0; c < kColumnCount; ++c)
        first[static_cast<std::size_t>(c)] = "r1c" + std::to_string(c);
    table.writeRow(0, first);
    table.setRowCount(2);
    RowTexts second;
    for (int c = 0; c < kColumnCount; ++c)
        second[static_cast<std::size_t>(c)] = table.cell(columnAt(c), 0);
    table.writeRow(1, second);  // views into the table itself
    table.setCell(Column::Lcp, 0, "a much longer text than before");
    table.setCell(Column::Chap, 0, "");
    table.setCell(Column::BytesRx, 1, table.cell(Column::Lcp, 0));

    EXPECT_EQ(table.cell(Column::Lcp, 0), "a much longer text than before");
    EXPECT_EQ(table.cell(Column::Chap, 0), "");
    EXPECT_EQ(table.cell(Column::Ipcp, 0), "r1c5");
    EXPECT_EQ(table.cell(Column::Lcp, 1), "r1c3");
    EXPECT_EQ(table.cell(Column::BytesRx, 1), "a much longer text than before");
    EXPECT_EQ(table.cell(Column::IncompletePackets, 1), "r1c17");
    EXPECT_EQ(table.columns()[static_cast<std::size_t>(indexOf(Column::StartTime))].title,
              " Start Time");
    // A row of more than 65,535 bytes is refused, the row left as it was.
    EXPECT_THROW(table.setCell(Column::Lcp, 0, std::string(CallTable::kLongestRow, 'x')),
                 std::length_error);
    EXPECT_EQ(table.cell(Column::Lcp, 0), "a much longer text than before");
    table.setCell(Column::Lcp, 1, std::string(CallTable::kLongestRow - 1000, 'x'));
    EXPECT_EQ(table.cell(Column::Lcp, 1).size(), CallTable::kLongestRow - 1000);

    table.clearRow(1);
    for (int c = 0; c < kColumnCount; ++c) EXPECT_EQ(table.cell(columnAt(c), 1), "") << c;
    EXPECT_EQ(table.cell(Column::IncompletePackets, 0), "r1c17");
    EXPECT_THROW(table.cell(Column::StartTime, 2), std::out_of_range);
    EXPECT_THROW(table.cell(Column::StartTime, -1), std::out_of_range);
    EXPECT_THROW(table.cell(columnAt(18), 0), std::out_of_range);
}

TEST(CallTableTest, ManyOverwritesKeepTheLatestTexts) {
    // Enough rewriting to make the table drop the overwritten bytes.
    CallTable table{kDialUpColumns};
    table.setRowCount(100);
    for (int round = 0; round < 300; ++round)
        for (int row = 0; row < 100; ++row)
            table.setCell(
                columnAt(round % kColumnCount), row,
                std::string(50, 'a' + static_cast<char>(round % 26)) + std::to_string(row));
    for (int row = 0; row < 100; ++row)
        for (int c = 0; c < kColumnCount; ++c) {
            const int lastRound = 288 + c <= 299 ? 288 + c : 270 + c;
            EXPECT_EQ(
                table.cell(columnAt(c), row),
                std::string(50, 'a' + static_cast<char>(lastRound % 26)) + std::to_string(row));
        }
}

// Every cell of a table, row after row.
std::vector<std::string> cellsOf(const CallTable& table) {
    std::vector<std::string> cells;
    for (int row = 0; row < table.rowCount(); ++row)
        for (int c = 0; c < kColumnCount; ++c) cells.emplace_back(table.cell(columnAt(c), row));
    return cells;
}

CallTable numberedCalls(int rows, const std::string& tag) {
    CallTable table{kDialUpColumns};
    table.setRowCount(rows);
    for (int call = 1; call <= rows; ++call) {
        RowCells cells;
        for (int c = 0; c < kColumnCount; ++c)
            cells[static_cast<std::size_t>(c)] = tag + std::to_string(call * 100 + c);
        table.writeRow(call - 1, cells);
    }
    return table;
}

// Tables over many blocks appended by copy and by taking their bytes over,
// onto tables with and without calls: the same cells, and both stay
// writable; a copy of a table is a table of its own.
TEST(CallTableTest, AppendedByCopyOrTakenOverTheSameCells) {
    for (const int ownRows : {0, 1, 700}) {
        SCOPED_TRACE(ownRows);
        const CallTable own =
            ownRows == 0 ? CallTable(kDialUpColumns) : numberedCalls(ownRows, "own");
        const CallTable other = numberedCalls(900, "other");
        CallTable copied = own;
        copied.appendCalls(other);
        CallTable taken = own;
        CallTable given = other;
        taken.appendCalls(std::move(given));
        EXPECT_EQ(given.callCount(), 0);
        ASSERT_EQ(taken.callCount(), ownRows + 900);
        EXPECT_EQ(cellsOf(taken), cellsOf(copied));
        EXPECT_EQ(taken.cell(Column::Duration, ownRows + 899), "other90002");
        for (CallTable* table : {&copied, &taken}) {
            table->setCell(Column::Lcp, ownRows, "rewritten");
            table->setRowCount(table->rowCount() + 1);
            table->setCell(Column::StartTime, table->rowCount() - 1, "added");
        }
        EXPECT_EQ(cellsOf(taken), cellsOf(copied));
        EXPECT_EQ(cellsOf(other), cellsOf(numberedCalls(900, "other")));
        EXPECT_EQ(cellsOf(own), cellsOf(ownRows == 0 ? CallTable(kDialUpColumns)
                                                     : numberedCalls(ownRows, "own")));
    }
}

TEST(CallTableTest, RowsOfFewShapesInAnyOrderKeepTheirCells) {
    // 150 shapes (cell lengths) taken by 5,000 calls in random order, so
    // that shapes found before come back, one after another or far apart.
    std::mt19937 random(7);
    CallTable table{kDialUpColumns};
    std::vector<std::string> expected;
    for (int call = 1; call <= 5000; ++call) {
        const auto shape = static_cast<std::size_t>(random() % 150);
        RowCells cells;
        cells[0] = std::string(shape % 10 + 1, 's');
        cells[5] = std::string(shape / 10, 'l');
        cells[17] = std::to_string(call);
        RowTexts texts;
        for (std::size_t c = 0; c < cells.size(); ++c) texts[c] = cells[c];
        ASSERT_EQ(table.addCall(texts), call - 1);
        expected.insert(expected.end(), cells.begin(), cells.end());
    }
    EXPECT_EQ(cellsOf(table), expected);
}

// Calls of more cell lengths than a table names shapes for (65,534), the
// second table's lengths new to the first: the rows past them keep their
// lengths with their texts, through appending by copy and by taking over,
// and through dropping overwritten bytes.
TEST(CallTableTest, RowsOfEveryShapeKeepTheirCells) {
    constexpr int kRows = 66000;
    // Row row's cells, of lengths no other row of the letter has.
    const auto rowOf = [](int row, char letter) {
        RowCells cells;
        cells[0] = std::string(static_cast<std::size_t>(row % 300), letter);
        cells[1] = std::string(static_cast<std::size_t>(row / 300), letter);
        cells[2] = std::string(letter == 'f' ? 1 : 2, letter);
        cells[17] = std::to_string(row);
        return cells;
    };
    const auto shaped = [&](int rows, char letter) {
        CallTable table{kDialUpColumns};
        table.setRowCount(rows);
        for (int row = 1; row <= rows; ++row) table.writeRow(row - 1, rowOf(row, letter));
        return table;
    };
    const auto expected = [&](int rows, char letter) {
        std::vector<std::string> cells;
        for (int row = 1; row <= rows; ++row) {
            const RowCells texts = rowOf(row, letter);
            cells.insert(cells.end(), texts.begin(), texts.end());
        }
        return cells;
    };
    const CallTable many = shaped(kRows, 'm');
    ASSERT_EQ(cellsOf(many), expected(kRows, 'm'));

    std::vector<std::string> both = expected(kRows, 'f');
    const std::vector<std::string> manyCells = expected(kRows, 'm');
    both.insert(both.end(), manyCells.begin(), manyCells.end());
    CallTable copied = shaped(kRows, 'f');
    copied.appendCalls(many);
    EXPECT_EQ(cellsOf(copied), both);
    CallTable taken = shaped(kRows, 'f');
    CallTable given = many;
    taken.appendCalls(std::move(given));
    EXPECT_EQ(cellsOf(taken), both);

    // Rows dropped and one row written again and again, until the bytes no
    // row holds any more are dropped.
    taken.setRowCount(kRows + 100);
    both.resize((kRows + 100) * std::size_t{kColumnCount});
    for (int round = 0; round < 400; ++round)
        taken.setCell(Column::Lcp, kRows + 99, std::string(50000, 'r'));
    taken.setCell(Column::Lcp, kRows + 99, "kept");
    both[both.size() - kColumnCount + indexOf(Column::Lcp)] = "kept";
    EXPECT_EQ(cellsOf(taken), both);
}

// Each cell keeps a value of its column's kind beside its text: narrow ones
// and those too wide for the table's lanes (large counts, times outside
// 1970 to 2106, a day without its time) alike, through copies, appends,
// dropped and cleared rows.
TEST(CallTableTest, ValuesOfEveryWidthStayWithTheirCells) {
    struct Case {
        Column column;
        const char* text;
        CellValue value;
    };
    const Case cases[] = {
        {Column::StartTime, "12-01-2026 09:12:04", CellValue::of(1796116324)},
        {Column::StartTime, "01-01-1969 00:00:01", CellValue::of(-31535999)},
        {Column::StartTime, "12-31-2200 23:59:59", CellValue::of(7289654399)},
        {Column::EndTime, "12-01-2026 9x:12:04", CellValue::dayOnly(20788)},
        {Column::Duration, "00:10:37", CellValue::of(637)},
        {Column::Lcp, "2.6", CellValue::of(26)},
        {Column::BytesRx, "4294967293", CellValue::count(4294967293u)},
        {Column::BytesRx, "4294967294", CellValue::count(4294967294u)},
        {Column::FramesRx, "18446744073709551615", CellValue::count(18446744073709551615u)},
        {Column::CrcErrors, "0", CellValue::count(0)},
        {Column::CrcErrors, "x", CellValue{}},
    };
    CallTable table{kDialUpColumns};
    const int rows = static_cast<int>(std::size(cases));
    for (int i = 0; i < rows; ++i) {
        RowCells cells;
        cells[0] = "12-01-2026 00:00:00";
        cells[static_cast<std::size_t>(indexOf(cases[i].column))] = cases[i].text;
        table.addCall(RowTexts{cells[0], cells[1], cells[2], cells[3], cells[4], cells[5], cells[6],
                               cells[7], cells[8], cells[9], cells[10], cells[11], cells[12],
                               cells[13], cells[14], cells[15], cells[16], cells[17]},
                      static_cast<std::uint32_t>(i));
    }
    auto check = [&](const CallTable& t, int firstRow, const char* what) {
        SCOPED_TRACE(what);
        for (int i = 0; i < rows; ++i) {
            EXPECT_EQ(t.value(cases[i].column, firstRow + i), cases[i].value) << cases[i].text;
            EXPECT_EQ(t.marks(firstRow + i), static_cast<std::uint32_t>(i));
        }
    };
    check(table, 0, "written");
    check(CallTable(table), 0, "copied");
    CallTable appended = table;
    appended.appendCalls(table);
    check(appended, rows, "appended by copy");
    CallTable taken = table;
    CallTable given = table;
    taken.appendCalls(std::move(given));
    check(taken, rows, "taken over");
    CallTable intoEmpty{kDialUpColumns};
    intoEmpty.appendCalls(table);
    check(intoEmpty, 0, "into an empty table");

    // A dropped row's wide values go with it; a row added again is empty.
    taken.setRowCount(rows + 2);
    taken.setRowCount(2 * rows);
    EXPECT_EQ(taken.value(Column::StartTime, rows + 2), CellValue{});
    EXPECT_EQ(taken.value(Column::StartTime, rows + 1), CellValue::of(-31535999));
    taken.clearRow(2);
    EXPECT_EQ(taken.value(Column::StartTime, 2), CellValue{});
    EXPECT_EQ(taken.marks(2), 0u);
    taken.setCell(Column::BytesRx, 2, "12");
    EXPECT_EQ(taken.value(Column::BytesRx, 2), CellValue::count(12));
    EXPECT_EQ(taken.value(Column::BytesRx, 0), CellValue{});  // an empty cell
    EXPECT_THROW(taken.value(Column::BytesRx, 2 * rows), std::out_of_range);
    EXPECT_THROW(taken.value(Column::BytesRx, -1), std::out_of_range);
}

}  // namespace
}  // namespace kestal
