// The call table: one row per call, each cell a text and a
// typed value, in the columns a kind of log describes (TableColumns.h).
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <unordered_map>
#include <vector>

#include "platform/RegionalSettings.h"
#include "table/CellValue.h"
#include "table/TableColumns.h"

namespace kestal {

// The texts of a row's cells, in column order (as many as the table has
// columns).
using CellTexts = std::span<const std::string_view>;

// A row as a row builder makes it: each cell's text and value, and marks
// that the kind of log gives a meaning (a dial-up call cut short, say).
// The lines a row was made of: indexes into the log's lines, from first up
// to end (not included); empty for a row written as texts alone.
struct LineSpan {
    std::uint64_t first = 0;
    std::uint64_t end = 0;
    bool empty() const { return first == end; }
    friend bool operator==(const LineSpan&, const LineSpan&) = default;
};

struct BuiltRow {
    CellTexts cells;
    std::span<const CellValue> values;
    std::uint32_t marks = 0;
    LineSpan lines;
};

// Rows 0 and on hold one call each; the column titles are the columns'
// own (columns()). The row count starts at 1 (an empty row 0) and never
// drops below it.
// Cells are stored compactly: a row's texts lie back to back in blocks
// of bytes that stay where they are once written, so a growing table copies
// no bytes, and a table appended whole hands its blocks over.
class CallTable {
public:
    explicit CallTable(TableColumns columns);
    CallTable(const CallTable& other);
    CallTable& operator=(const CallTable& other);
    CallTable(CallTable&&) noexcept = default;
    CallTable& operator=(CallTable&&) noexcept = default;

    TableColumns columns() const { return columns_; }
    int columnCount() const { return static_cast<int>(columns_.size()); }
    int rowCount() const { return static_cast<int>(rows_.size()); }
    // Setting it higher adds empty rows at the end; lower drops rows from
    // the end (never below 1).
    void setRowCount(int count);

    // A column or row outside the table throws std::out_of_range.
    std::string_view cell(int column, int row) const;
    // The same for a column named by a kind of log's own enumeration (the
    // column first: a swap with the row is a compile error).
    template <typename Column>
    requires std::is_enum_v<Column> std::string_view cell(Column column, int row)
    const { return cell(static_cast<int>(column), row); }
    // A cell's value, as its column reads the text.
    CellValue value(int column, int row) const;
    template <typename Column>
    requires std::is_enum_v<Column> CellValue value(Column column, int row)
    const { return value(static_cast<int>(column), row); }
    // The cell's value as its column sorts it (CellValue::sortKey).
    std::optional<std::int64_t> sortKey(int column, int row) const {
        return value(column, row).sortKey(columns_[static_cast<std::size_t>(column)].kind);
    }
    std::uint32_t marks(int row) const;
    // The lines row was made of.
    LineSpan lines(int row) const;
    // Moves every row's lines by count lines (a table made of lines counted
    // from another start).
    void shiftLines(std::uint64_t count);
    // The values of a call row, for code that reads every call:
    // the row is checked once, each value then taken at once.
    class RowValues {
    public:
        CellValue operator[](int column) const {
            const std::uint32_t stored = lanes_[column];
            if (stored < kWide) return CellValue::count(stored);
            if (stored == kNoValue) return {};
            return table_->wide_.at(first_ + static_cast<std::size_t>(column));
        }
        std::uint32_t marks() const { return lanes_[table_->columns_.size()]; }

    private:
        friend class CallTable;
        RowValues(const CallTable& table, std::size_t first)
            : table_(&table), lanes_(table.lanes_.data() + first), first_(first) {}
        const CallTable* table_;
        const std::uint32_t* lanes_;
        std::size_t first_;
    };
    RowValues rowValues(int row) const;
    // The cells of a call row at once, for code that reads every
    // call; the texts are views into the table.
    std::vector<std::string_view> rowTexts(int row) const;

    // Writing texts alone: each value is read from its text by the column's
    // kind (ValueReaders.h), with the log's own separators, and the row
    // keeps the marks given. Tables written cell by cell (tests, the
    // exports' fuzzers) go this way; the scan writes built rows.
    void setCell(int column, int row, std::string_view text);
    template <typename Column>
    requires std::is_enum_v<Column>
    void setCell(Column column, int row, std::string_view text) {
        setCell(static_cast<int>(column), row, text);
    }
    // A row holds at most this many bytes of text (a call's row from the
    // log, some 300 at most); a longer one throws std::length_error.
    static constexpr std::size_t kLongestRow = 0xffff;
    void writeRow(int row, std::span<const std::string> cells, std::uint32_t marks = 0);
    void writeRow(int row, CellTexts cells, std::uint32_t marks = 0);
    // Writes a built row: its texts, values and marks as they are. The
    // builder gives as many of each as the table has columns.
    void writeRow(int row, const BuiltRow& built);
    void clearRow(int row);
    // Writes a call as the scan does: into row 0 while that holds no call,
    // else into a new last row. Returns its row.
    int addCall(const BuiltRow& built);
    // The same for texts alone, their values read as writeRow reads them.
    int addCall(CellTexts cells, std::uint32_t marks = 0);
    // Room for count calls made at once, before they are added.
    void reserveCalls(std::size_t count);

    int currentRow() const { return currentRow_; }
    void setCurrentRow(int row) { currentRow_ = row; }
    int currentColumn() const { return currentColumn_; }
    void setCurrentColumn(int column) { currentColumn_ = column; }

    // Back to the start state: row count 1, current row 0, row 0 empty.
    void reset();

    // A table whose row 0 has an empty Start Time cell holds no call.
    int callCount() const;

    // Adds the calls of other after this table's own, as if each had been
    // written here in turn: the first into row 0 when that holds no call,
    // every other one into a new last row.
    void appendCalls(const CallTable& other);
    // The same, taking other's bytes over instead of copying them; other is
    // left empty.
    void appendCalls(CallTable&& other);

private:
    // A row's cell ends, cumulative: cell c is bytes ends[c - 1] (0 for the
    // first) to ends[c] of the row's text; those past the last column 0.
    using Ends = std::array<std::uint16_t, kMostColumns>;
    // Rows of calls share a handful of shapes (the same cell lengths), so a
    // row names its shape instead of holding its ends: 8 bytes a row.
    struct Row {
        std::uint64_t offset : 48 = 0;  // where the row's text lies, see Block
        std::uint64_t shape : 16 = 0;   // in shapes_; 0 is the empty row
    };
    // A row of a shape that found no room in shapes_ keeps its ends in front
    // of its text.
    static constexpr std::uint16_t kEndsInFront = 0xffff;
    static constexpr std::size_t kEndsBytes = sizeof(Ends);
    // A row's offset names its block in the bits from kBlockShift up and the
    // byte within the block below them (blocks hold at most 4 MiB).
    struct Block {
        std::unique_ptr<char[]> bytes;
        std::size_t size = 0;
        std::size_t capacity = 0;
        std::size_t present = 0;  // the bytes whose pages were made present at once

        // Makes the pages up to byte end present, and some beyond.
        void makePresent(std::size_t end);
    };
    static constexpr int kBlockShift = 22;
    struct EndsHash {
        std::size_t operator()(const Ends& ends) const;
    };

    const Row& row(int row) const;
    Row& row(int row);
    // Where a row's bytes lie (its ends first, if it keeps them), and how
    // many they are.
    const char* storedAt(const Row& row) const;
    std::uint64_t storedLength(const Row& row) const;
    // A row's text and the ends of its cells in it.
    const char* textOf(const Row& row, Ends& ends) const;
    // The shape of rows with these ends, added if new; kEndsInFront when
    // shapes_ is full.
    std::uint16_t shapeOf(const Ends& ends);
    // Room for length more bytes at the end of the last block, or in a new
    // one; sets offset to where it is.
    char* roomFor(std::uint64_t length, std::uint64_t& offset);
    // Stores texts as the new content of row r.
    void storeRow(int r, CellTexts cells);
    // The same, without dropping overwritten bytes (which moves every row).
    void placeRow(Row& target, CellTexts cells);
    // Bytes of text a row's ends say it holds.
    std::uint64_t textLength(const Ends& ends) const { return ends[columns_.size() - 1]; }
    // The texts of a row, views into its stored bytes.
    void textsOf(const Row& row, std::span<std::string_view> cells) const;

    // Values are kept a lane of 32 bits a cell, row after row, each row's
    // lanes followed by its marks. A value that doesn't fit a lane (a
    // count of 2^32 - 2 or more, a time before 1970 or after 2106, a Time
    // of a day only) keeps kWide there and itself in wide_, by lane.
    static constexpr std::uint32_t kNoValue = 0xffffffff;
    static constexpr std::uint32_t kWide = 0xfffffffe;
    std::size_t stride() const { return columns_.size() + 1; }
    std::size_t laneOf(int row, int column) const {
        return static_cast<std::size_t>(row) * stride() + static_cast<std::size_t>(column);
    }
    void storeValues(int row, std::span<const CellValue> values, std::uint32_t marks);
    void storeValue(std::size_t lane, const CellValue& value);
    // Values read from texts written alone.
    void storeReadValues(int row, CellTexts cells, std::uint32_t marks);
    // Drops the values of rows from (table row) on.
    void dropValuesFrom(int row);
    // Adds other's rows from row index from on, their bytes in blocks that
    // are already this table's, at index base on.
    void addRowsOf(const CallTable& other, std::size_t from, std::size_t base);
    std::size_t firstRowToAppend(const CallTable& other);
    // Drops the bytes of overwritten cells once they outweigh the live ones.
    void compactIfWasteful();

    TableColumns columns_;
    std::vector<Block> blocks_;
    std::uint64_t stored_ = 0;  // bytes in the blocks, live or not
    std::vector<Row> rows_;     // rows_[r] is table row r
    std::vector<Ends> shapes_;  // shapes_[0]: every cell empty
    std::unordered_map<Ends, std::uint16_t, EndsHash> shapeIndex_;
    // The shape last found for rows whose ends hash to each place: most rows
    // take one of a few shapes.
    std::array<std::uint16_t, 64> recentShapes_{};
    std::uint64_t garbage_ = 0;  // stored bytes no row refers to any more
    std::vector<std::uint32_t> lanes_;
    std::vector<LineSpan> spans_;  // by row
    std::unordered_map<std::size_t, CellValue> wide_;
    int currentRow_ = 0;
    int currentColumn_ = 0;
};

}  // namespace kestal
