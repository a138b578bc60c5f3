// The call table: a title row and one row of 18 text cells per call.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kestal {

inline constexpr int kColumnCount = 18;

// A column of the call table. Cells are asked for by column and row, the
// order opposite to Qt's index(row, column): with the column a type of its
// own, a swap of the two is a compile error.
enum class Column : int {
    StartTime,
    EndTime,
    Duration,
    Lcp,
    Chap,
    Ipcp,
    Ccp,
    BytesRx,
    BytesTx,
    FramesRx,
    FramesTx,
    CrcErrors,
    TimeoutErrors,
    AlignmentErrors,
    OverrunErrors,
    FramingErrors,
    BufferErrors,
    IncompletePackets,
};

// The column at position index (0 to 17), for code that walks them all.
constexpr Column columnAt(int index) { return static_cast<Column>(index); }
constexpr int indexOf(Column column) { return static_cast<int>(column); }

// Everything the program says about one column, defined once.
struct ColumnInfo {
    std::string_view title;   // grid title (row 0 cell), leading blank included
    int width;                // initial grid width in pixels
    std::string_view header;  // name in the tab- and comma-separated exports
    std::string_view word;    // word in the fixed-width export's header
};

extern const std::array<ColumnInfo, kColumnCount> kColumns;

// The cells of one call row, in column order.
using RowCells = std::array<std::string, kColumnCount>;
// The same, as views (the scan builds rows from views into the log).
using RowTexts = std::array<std::string_view, kColumnCount>;

// Row 0 is the title row; rows 1 and on hold one call each. The row count
// starts at 2 (titles and an empty row 1) and never drops below it.
// Cells are stored compactly: a row's 18 texts lie back to back in blocks
// of bytes that stay where they are once written, so a growing table copies
// no bytes, and a table appended whole hands its blocks over.
class CallTable {
public:
    CallTable();
    CallTable(const CallTable& other);
    CallTable& operator=(const CallTable& other);
    CallTable(CallTable&&) noexcept = default;
    CallTable& operator=(CallTable&&) noexcept = default;

    int rowCount() const { return static_cast<int>(rows_.size()) + 1; }
    // Setting it higher adds empty rows at the end; lower drops rows from
    // the end (never below 2).
    void setRowCount(int count);

    // Row 0 answers the column titles, and writes to it are ignored. A
    // column or row outside the table throws std::out_of_range.
    std::string_view cell(Column column, int row) const;
    // The 18 cells of a call row (1 and on) at once, for code that reads
    // every call.
    RowTexts rowTexts(int row) const;
    void setCell(Column column, int row, std::string_view text);
    // A row holds at most this many bytes of text (a call's row from the
    // log, some 300 at most); a longer one throws std::length_error.
    static constexpr std::size_t kLongestRow = 0xffff;
    // Writes all 18 cells of a call row at once.
    void writeRow(int row, const RowCells& cells);
    void writeRow(int row, const RowTexts& cells);
    void clearRow(int row);
    // Writes a call as the scan does: into row 1 while that holds no call,
    // else into a new last row. Returns its row.
    int addCall(const RowTexts& cells);
    // Room for count calls made at once, before they are added.
    void reserveCalls(std::size_t count) { rows_.reserve(count); }

    int currentRow() const { return currentRow_; }
    void setCurrentRow(int row) { currentRow_ = row; }
    int currentColumn() const { return currentColumn_; }
    void setCurrentColumn(int column) { currentColumn_ = column; }

    // Back to the start state: row count 2, current row 1, row 1 empty.
    void reset();

    // A table whose row 1 has an empty Start Time cell holds no call.
    int callCount() const;

    // Adds the calls of other after this table's own, as if each had been
    // written here in turn: the first into row 1 when that holds no call,
    // every other one into a new last row.
    void appendCalls(const CallTable& other);
    // The same, taking other's bytes over instead of copying them; other is
    // left empty.
    void appendCalls(CallTable&& other);

private:
    // A row's cell ends, cumulative: cell c is bytes ends[c - 1] (0 for the
    // first) to ends[c] of the row's text.
    using Ends = std::array<std::uint16_t, kColumnCount>;
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
    void storeRow(int r, const RowTexts& cells);
    // The same, without dropping overwritten bytes (which moves every row).
    void placeRow(Row& target, const RowTexts& cells);
    // Adds other's rows from row index from on, their bytes in blocks that
    // are already this table's, at index base on.
    void addRowsOf(const CallTable& other, std::size_t from, std::size_t base);
    std::size_t firstRowToAppend(const CallTable& other);
    // Drops the bytes of overwritten cells once they outweigh the live ones.
    void compactIfWasteful();

    std::vector<Block> blocks_;
    std::uint64_t stored_ = 0;  // bytes in the blocks, live or not
    std::vector<Row> rows_;     // rows_[0] is table row 1
    std::vector<Ends> shapes_;  // shapes_[0]: every cell empty
    std::unordered_map<Ends, std::uint16_t, EndsHash> shapeIndex_;
    // The shape last found for rows whose ends hash to each place: most rows
    // take one of a few shapes.
    std::array<std::uint16_t, 64> recentShapes_{};
    std::uint64_t garbage_ = 0;  // stored bytes no row refers to any more
    int currentRow_ = 1;
    int currentColumn_ = 0;
};

}  // namespace kestal
