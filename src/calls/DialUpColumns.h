// The dial-up log's call table: its 18 columns, described once, and the
// names the program gives them.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "table/TableColumns.h"

namespace kestal {

inline constexpr int kColumnCount = 18;

// A column of the dial-up log's table. Cells are asked for by column and
// row, the order opposite to Qt's index(row, column): with the column a type
// of its own, a swap of the two is a compile error.
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

// Where each value sits in a call row, for code that counts columns.
enum CallColumn : int {
    kStartTimeColumn = 0,
    kEndTimeColumn,
    kDurationColumn,
    kLcpColumn,
    kChapColumn,
    kIpcpColumn,
    kCcpColumn,
    kBytesRxColumn,
    kBytesTxColumn,
    kFramesRxColumn,
    kFramesTxColumn,
    kCrcErrorsColumn,
    kTimeoutErrorsColumn,
    kAlignmentErrorsColumn,
    kOverrunErrorsColumn,
    kFramingErrorsColumn,
    kBufferErrorsColumn,
    kIncompletePacketsColumn,
};
inline constexpr int kFirstLayerColumn = kLcpColumn;
inline constexpr int kLayerColumnCount = 4;
inline constexpr int kFirstCounterColumn = kBytesRxColumn;
inline constexpr int kFirstErrorColumn = kCrcErrorsColumn;
inline constexpr int kErrorColumnCount = 7;

// The times and counters stand as the log writes them; the duration and the
// layer times (seconds, in tenths) are written from their values.
inline constexpr std::array<TableColumn, kColumnCount> kDialUpColumns = {{
    {QT_TRANSLATE_NOOP("kestal::Columns", " Start Time"), 110, "Start Time", "Start Time",
     ValueKind::Time, CellSource::Logged},
    {QT_TRANSLATE_NOOP("kestal::Columns", " End Time"), 110, "End Time", "End Time",
     ValueKind::Time, CellSource::Logged},
    {QT_TRANSLATE_NOOP("kestal::Columns", " Duration"), 50, "Duration", "Duration",
     ValueKind::Duration, CellSource::Written},
    {QT_TRANSLATE_NOOP("kestal::Columns", " LCP"), 40, "LCP", "LCP time", ValueKind::Decimal,
     CellSource::Written, 1},
    {QT_TRANSLATE_NOOP("kestal::Columns", " CHAP"), 40, "CHAP", "CHAP time", ValueKind::Decimal,
     CellSource::Written, 1},
    {QT_TRANSLATE_NOOP("kestal::Columns", " IPCP"), 40, "IPCP", "IPCP time", ValueKind::Decimal,
     CellSource::Written, 1},
    {QT_TRANSLATE_NOOP("kestal::Columns", " CCP"), 40, "CCP", "CCP time", ValueKind::Decimal,
     CellSource::Written, 1},
    {QT_TRANSLATE_NOOP("kestal::Columns", " Bytes Rx"), 60, "Bytes Rx", "Bytes Rx",
     ValueKind::Number, CellSource::Logged},
    {QT_TRANSLATE_NOOP("kestal::Columns", " Bytes Tx"), 60, "Bytes Tx", "Bytes Tx",
     ValueKind::Number, CellSource::Logged},
    {QT_TRANSLATE_NOOP("kestal::Columns", " Frames Rx"), 60, "Frames Rx", "Frames Rx",
     ValueKind::Number, CellSource::Logged},
    {QT_TRANSLATE_NOOP("kestal::Columns", " Frames Tx"), 60, "Frames Tx", "Frames Tx",
     ValueKind::Number, CellSource::Logged},
    {QT_TRANSLATE_NOOP("kestal::Columns", " CRC Errors"), 70, "CRC Errors", "CRC",
     ValueKind::Number, CellSource::Logged},
    {QT_TRANSLATE_NOOP("kestal::Columns", " Timeout Errors"), 80, "Timeout Errors", "Timeout",
     ValueKind::Number, CellSource::Logged},
    {QT_TRANSLATE_NOOP("kestal::Columns", " Alignment Errors"), 90, "Alignment Errors", "Alignment",
     ValueKind::Number, CellSource::Logged},
    {QT_TRANSLATE_NOOP("kestal::Columns", " Overrun errors"), 80, "Overrun Errors", "Overrun",
     ValueKind::Number, CellSource::Logged},
    {QT_TRANSLATE_NOOP("kestal::Columns", " Framing errors"), 80, "Framing Errors", "Framing",
     ValueKind::Number, CellSource::Logged},
    {QT_TRANSLATE_NOOP("kestal::Columns", " Buffer overrun errors"), 115, "Buffer Errors", "Buffer",
     ValueKind::Number, CellSource::Logged},
    {QT_TRANSLATE_NOOP("kestal::Columns", " Incomplete Packets"), 100, "Incomplete Packets",
     "Incomplete", ValueKind::Number, CellSource::Logged},
}};

// The cells of one call row, in column order.
using RowCells = std::array<std::string, kColumnCount>;
// The same, as views (the scan builds rows from views into the log).
using RowTexts = std::array<std::string_view, kColumnCount>;

// A row's mark: the call was cut short, its End Time "-" and blanks (the
// next call began first).
inline constexpr std::uint32_t kCutShortMark = 1;

// An End Time cell of "-" and blanks only.
inline bool isCutShortEnd(std::string_view endCell) {
    if (endCell.empty() || endCell.front() != '-') return false;
    return endCell.find_first_not_of(' ', 1) == std::string_view::npos;
}

// The marks of a row written as texts alone.
inline std::uint32_t marksOfCells(std::string_view endCell) {
    return isCutShortEnd(endCell) ? kCutShortMark : 0;
}

}  // namespace kestal
