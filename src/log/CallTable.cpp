#include "log/CallTable.h"

#include <algorithm>
#include <functional>
#include <stdexcept>

namespace kestal {

const std::array<ColumnInfo, kColumnCount> kColumns = {{
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
}};

namespace {

constexpr int kMinimumRowCount = 2;
// Overwritten cells are left in the arena until they are both this many
// bytes and more than the live ones.
constexpr std::uint64_t kCompactThreshold = 1 << 20;

void checkColumn(Column column) {
    if (indexOf(column) < 0 || indexOf(column) >= kColumnCount)
        throw std::out_of_range("call table column");
}

std::uint64_t rowLength(const std::array<std::uint32_t, kColumnCount>& ends) {
    return ends[kColumnCount - 1];
}

}  // namespace

CallTable::CallTable() { reset(); }

void CallTable::reset() {
    arena_.clear();
    rows_.assign(1, Row{});
    garbage_ = 0;
    currentRow_ = 1;
    currentColumn_ = 0;
}

void CallTable::setRowCount(int count) {
    count = std::max(count, kMinimumRowCount);
    const auto wanted = static_cast<std::size_t>(count - 1);
    if (wanted < rows_.size()) {
        for (std::size_t i = wanted; i < rows_.size(); ++i) garbage_ += rowLength(rows_[i].ends);
        rows_.resize(wanted);
        currentRow_ = std::min(currentRow_, count - 1);
        compactIfWasteful();
    } else {
        Row empty;
        empty.offset = arena_.size();
        rows_.resize(wanted, empty);
    }
}

const CallTable::Row& CallTable::row(int r) const {
    if (r < 1 || r >= rowCount()) throw std::out_of_range("call table row");
    return rows_[static_cast<std::size_t>(r - 1)];
}

CallTable::Row& CallTable::row(int r) {
    if (r < 1 || r >= rowCount()) throw std::out_of_range("call table row");
    return rows_[static_cast<std::size_t>(r - 1)];
}

std::string_view CallTable::cell(Column column, int r) const {
    checkColumn(column);
    if (r == 0) return kColumns[static_cast<std::size_t>(column)].title;
    const Row& data = row(r);
    const auto c = static_cast<std::size_t>(column);
    const std::uint32_t begin = c == 0 ? 0 : data.ends[c - 1];
    return std::string_view(arena_).substr(data.offset + begin, data.ends[c] - begin);
}

RowTexts CallTable::rowTexts(int r) const {
    const Row& data = row(r);
    const char* const first = arena_.data() + data.offset;
    RowTexts cells;
    std::uint32_t begin = 0;
    for (std::size_t c = 0; c < cells.size(); ++c) {
        cells[c] = std::string_view(first + begin, data.ends[c] - begin);
        begin = data.ends[c];
    }
    return cells;
}

void CallTable::setCell(Column column, int r, std::string_view text) {
    checkColumn(column);
    if (r == 0) return;  // the title row is fixed
    RowTexts cells;
    for (int c = 0; c < kColumnCount; ++c)
        cells[static_cast<std::size_t>(c)] = cell(columnAt(c), r);
    cells[static_cast<std::size_t>(column)] = text;
    storeRow(r, cells);
}

void CallTable::writeRow(int r, const RowCells& cells) {
    RowTexts texts;
    for (std::size_t c = 0; c < cells.size(); ++c) texts[c] = cells[c];
    writeRow(r, texts);
}

void CallTable::writeRow(int r, const RowTexts& cells) {
    if (r == 0) return;
    storeRow(r, cells);
}

void CallTable::storeRow(int r, const RowTexts& cells) {
    Row& target = row(r);
    // The texts may be views into the arena itself (a cell copied from
    // another cell): growing the arena would move them, so such rows are
    // put together in a buffer of their own first.
    const char* const arenaBegin = arena_.data();
    const char* const arenaEnd = arenaBegin + arena_.size();
    bool fromArena = false;
    std::size_t total = 0;
    for (const std::string_view text : cells) {
        total += text.size();
        if (!text.empty() && std::greater_equal<const char*>()(text.data(), arenaBegin) &&
            std::less<const char*>()(text.data(), arenaEnd))
            fromArena = true;
    }
    std::string own;
    if (fromArena) {
        own.reserve(total);
        for (const std::string_view text : cells) own.append(text);
    }

    garbage_ += rowLength(target.ends);
    target.offset = arena_.size();
    std::uint32_t end = 0;
    for (std::size_t c = 0; c < cells.size(); ++c) {
        end += static_cast<std::uint32_t>(cells[c].size());
        target.ends[c] = end;
    }
    if (fromArena) {
        arena_.append(own);
    } else {
        for (const std::string_view text : cells) arena_.append(text);
    }
    compactIfWasteful();
}

void CallTable::clearRow(int r) {
    if (r == 0) return;
    Row& target = row(r);
    garbage_ += rowLength(target.ends);
    target.ends.fill(0);
    target.offset = arena_.size();
    compactIfWasteful();
}

void CallTable::compactIfWasteful() {
    if (garbage_ < kCompactThreshold || garbage_ * 2 < arena_.size()) return;
    std::string packed;
    packed.reserve(static_cast<std::size_t>(arena_.size() - garbage_));
    for (Row& r : rows_) {
        const std::uint64_t length = rowLength(r.ends);
        const std::uint64_t offset = packed.size();
        packed.append(arena_, static_cast<std::size_t>(r.offset), static_cast<std::size_t>(length));
        r.offset = offset;
    }
    arena_ = std::move(packed);
    garbage_ = 0;
}

void CallTable::appendCalls(const CallTable& other) {
    if (other.callCount() == 0) return;
    std::size_t from = 0;  // the first of other's rows to add at the end
    if (callCount() == 0) {
        RowTexts first;
        for (int c = 0; c < kColumnCount; ++c)
            first[static_cast<std::size_t>(c)] = other.cell(columnAt(c), 1);
        storeRow(1, first);
        from = 1;
    }
    // other's arena goes on the end of this one whole, the bytes no added
    // row refers to counted as waste.
    const std::uint64_t shift = arena_.size();
    arena_.append(other.arena_);
    garbage_ += other.garbage_;
    if (from == 1) garbage_ += rowLength(other.rows_[0].ends);
    rows_.reserve(rows_.size() + other.rows_.size() - from);
    for (std::size_t i = from; i < other.rows_.size(); ++i) {
        Row added = other.rows_[i];
        added.offset += shift;
        rows_.push_back(added);
    }
    compactIfWasteful();
}

int CallTable::callCount() const { return cell(Column::StartTime, 1).empty() ? 0 : rowCount() - 1; }

}  // namespace kestal
