#include "table/CallTable.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <stdexcept>

#include "platform/Pages.h"
#include "table/ValueReaders.h"

namespace kestal {

namespace {

constexpr int kMinimumRowCount = 1;
// Overwritten cells are left in their blocks until they are both this many
// bytes and more than the live ones.
constexpr std::uint64_t kCompactThreshold = 1 << 20;

void checkColumn(int column, std::size_t count) {
    if (column < 0 || static_cast<std::size_t>(column) >= count)
        throw std::out_of_range("call table column");
}

// Blocks grow from a few kilobytes for a small table to this size.
constexpr std::size_t kFirstBlock = std::size_t{4} << 10;
constexpr std::size_t kLargestBlock = std::size_t{4} << 20;
constexpr std::uint64_t kMostBlocks = std::uint64_t{1} << (48 - 22);

}  // namespace

CallTable::CallTable(TableColumns columns) : columns_(columns) {
    if (columns.empty() || columns.size() > kMostColumns)
        throw std::length_error("call table columns");
    reset();
}

CallTable::CallTable(const CallTable& other)
    : columns_(other.columns_),
      stored_(other.stored_),
      rows_(other.rows_),
      shapes_(other.shapes_),
      shapeIndex_(other.shapeIndex_),
      recentShapes_(other.recentShapes_),
      garbage_(other.garbage_),
      lanes_(other.lanes_),
      spans_(other.spans_),
      wide_(other.wide_),
      currentRow_(other.currentRow_),
      currentColumn_(other.currentColumn_) {
    blocks_.reserve(other.blocks_.size());
    for (const Block& block : other.blocks_) {
        Block copy{std::unique_ptr<char[]>(new char[block.capacity]), block.size, block.capacity};
        std::copy_n(block.bytes.get(), block.size, copy.bytes.get());
        blocks_.push_back(std::move(copy));
    }
}

CallTable& CallTable::operator=(const CallTable& other) {
    if (this != &other) *this = CallTable(other);
    return *this;
}

void CallTable::reset() {
    blocks_.clear();
    stored_ = 0;
    // The rows' room goes back too: a table taken over (appendCalls) or
    // loaded anew holds no memory for rows it no longer has.
    std::vector<Row>(1).swap(rows_);
    std::vector<LineSpan>(1).swap(spans_);
    shapes_.assign(1, Ends{});
    shapeIndex_ = {{Ends{}, 0}};
    recentShapes_.fill(0);
    garbage_ = 0;
    std::vector<std::uint32_t>(stride(), kNoValue).swap(lanes_);
    wide_.clear();
    currentRow_ = 0;
    currentColumn_ = 0;
}

void CallTable::reserveCalls(std::size_t count) {
    rows_.reserve(count);
    spans_.reserve(count);
    lanes_.reserve(count * stride());
}

void CallTable::setRowCount(int count) {
    count = std::max(count, kMinimumRowCount);
    const auto wanted = static_cast<std::size_t>(count);
    if (wanted < rows_.size()) {
        for (std::size_t i = wanted; i < rows_.size(); ++i) garbage_ += storedLength(rows_[i]);
        rows_.resize(wanted);
        spans_.resize(wanted);
        dropValuesFrom(count);
        currentRow_ = std::min(currentRow_, count - 1);
        compactIfWasteful();
    } else {
        rows_.resize(wanted, Row{});
        spans_.resize(wanted);
        lanes_.resize(wanted * stride(), kNoValue);
    }
}

const CallTable::Row& CallTable::row(int r) const {
    if (r < 0 || r >= rowCount()) throw std::out_of_range("call table row");
    return rows_[static_cast<std::size_t>(r)];
}

CallTable::Row& CallTable::row(int r) {
    if (r < 0 || r >= rowCount()) throw std::out_of_range("call table row");
    return rows_[static_cast<std::size_t>(r)];
}

std::size_t CallTable::EndsHash::operator()(const Ends& ends) const {
    // The 48 bytes as six words, mixed side by side.
    static_assert(sizeof(Ends) == 48);
    std::array<std::uint64_t, 6> words;
    std::memcpy(words.data(), ends.data(), sizeof words);
    const std::uint64_t hash = (words[0] * 0x9e3779b97f4a7c15u) ^ (words[1] * 0xc2b2ae3d27d4eb4fu) ^
                               (words[2] * 0x165667b19e3779f9u) ^ (words[3] * 0xd6e8feb86659fd93u) ^
                               (words[4] * 0x94d049bb133111ebu) ^ (words[5] * 0xbf58476d1ce4e5b9u);
    return static_cast<std::size_t>(hash ^ hash >> 32);
}

const char* CallTable::storedAt(const Row& data) const {
    if (data.shape == 0) return "";
    const Block& block = blocks_[static_cast<std::size_t>(data.offset >> kBlockShift)];
    return block.bytes.get() + (data.offset & ((std::uint64_t{1} << kBlockShift) - 1));
}

std::uint64_t CallTable::storedLength(const Row& data) const {
    if (data.shape != kEndsInFront) return textLength(shapes_[data.shape]);
    Ends ends;
    std::memcpy(ends.data(), storedAt(data), kEndsBytes);
    return kEndsBytes + textLength(ends);
}

const char* CallTable::textOf(const Row& data, Ends& ends) const {
    const char* const stored = storedAt(data);
    if (data.shape != kEndsInFront) {
        ends = shapes_[data.shape];
        return stored;
    }
    std::memcpy(ends.data(), stored, kEndsBytes);
    return stored + kEndsBytes;
}

std::uint16_t CallTable::shapeOf(const Ends& ends) {
    const std::size_t hash = EndsHash{}(ends);
    std::uint16_t& recent = recentShapes_[hash % recentShapes_.size()];
    if (shapes_[recent] == ends) [[likely]]
        return recent;
    const auto known = shapeIndex_.find(ends);
    if (known != shapeIndex_.end()) return recent = known->second;
    if (shapes_.size() == kEndsInFront) return kEndsInFront;
    const auto added = static_cast<std::uint16_t>(shapes_.size());
    shapes_.push_back(ends);
    shapeIndex_.emplace(ends, added);
    return recent = added;
}

std::string_view CallTable::cell(int column, int r) const {
    checkColumn(column, columns_.size());
    const Row& data = row(r);
    const auto c = static_cast<std::size_t>(column);
    const char* text = storedAt(data);
    // The ends where the row's shape keeps them, else in front of its text.
    std::uint16_t ends[2] = {0, 0};
    if (data.shape != kEndsInFront) {
        const Ends& shape = shapes_[data.shape];
        ends[0] = c == 0 ? 0 : shape[c - 1];
        ends[1] = shape[c];
    } else {
        if (c > 0) std::memcpy(&ends[0], text + (c - 1) * sizeof(std::uint16_t), sizeof ends[0]);
        std::memcpy(&ends[1], text + c * sizeof(std::uint16_t), sizeof ends[1]);
        text += kEndsBytes;
    }
    return {text + ends[0], static_cast<std::size_t>(ends[1] - ends[0])};
}

void CallTable::textsOf(const Row& data, std::span<std::string_view> cells) const {
    Ends ends;
    const char* const text = textOf(data, ends);
    std::size_t begin = 0;
    for (std::size_t c = 0; c < cells.size(); ++c) {
        cells[c] = std::string_view(text + begin, ends[c] - begin);
        begin = ends[c];
    }
}

std::vector<std::string_view> CallTable::rowTexts(int r) const {
    std::vector<std::string_view> cells(columns_.size());
    textsOf(row(r), cells);
    return cells;
}

CellValue CallTable::value(int column, int r) const {
    checkColumn(column, columns_.size());
    row(r);  // checks the row
    const std::size_t lane = laneOf(r, column);
    const std::uint32_t stored = lanes_[lane];
    if (stored == kNoValue) return {};
    if (stored == kWide) return wide_.at(lane);
    return CellValue::count(stored);
}

CallTable::RowValues CallTable::rowValues(int r) const {
    row(r);  // checks the row
    return RowValues(*this, laneOf(r, 0));
}

std::uint32_t CallTable::marks(int r) const {
    row(r);
    return lanes_[laneOf(r, columnCount())];
}

LineSpan CallTable::lines(int r) const {
    row(r);
    return spans_[static_cast<std::size_t>(r)];
}

void CallTable::shiftLines(std::uint64_t count) {
    for (LineSpan& span : spans_) {
        if (span.empty()) continue;
        span.first += count;
        span.end += count;
    }
}

void CallTable::storeValue(std::size_t lane, const CellValue& value) {
    if (lanes_[lane] == kWide) wide_.erase(lane);
    if (value.state() == CellValue::State::None) {
        lanes_[lane] = kNoValue;
    } else if (value.whole() && value.bits() < kWide) {
        lanes_[lane] = static_cast<std::uint32_t>(value.bits());
    } else {
        lanes_[lane] = kWide;
        wide_[lane] = value;
    }
}

void CallTable::storeValues(int r, std::span<const CellValue> values, std::uint32_t marks) {
    const std::size_t first = laneOf(r, 0);
    std::uint32_t* const lanes = lanes_.data() + first;
    const std::size_t count = std::min(values.size(), columns_.size());
    for (std::size_t c = 0; c < count; ++c) {
        // Most values fit their lane, and no wide one was there before.
        const CellValue& value = values[c];
        if (lanes[c] != kWide) {
            if (value.whole() && value.bits() < kWide) {
                lanes[c] = static_cast<std::uint32_t>(value.bits());
                continue;
            }
            if (value.state() == CellValue::State::None) {
                lanes[c] = kNoValue;
                continue;
            }
        }
        storeValue(first + c, value);
    }
    for (std::size_t c = count; c < columns_.size(); ++c) storeValue(first + c, CellValue{});
    lanes[columns_.size()] = marks;
}

void CallTable::storeReadValues(int r, CellTexts cells, std::uint32_t marks) {
    std::array<CellValue, kMostColumns> values{};
    for (std::size_t c = 0; c < columns_.size() && c < cells.size(); ++c)
        values[c] = readCellValue(columns_[c], cells[c], RegionalSettings{});
    storeValues(r, std::span(values).first(columns_.size()), marks);
}

void CallTable::dropValuesFrom(int r) {
    const std::size_t first = static_cast<std::size_t>(r) * stride();
    if (first >= lanes_.size()) return;
    for (auto wide = wide_.begin(); wide != wide_.end();)
        wide = wide->first >= first ? wide_.erase(wide) : std::next(wide);
    lanes_.resize(first);
}

void CallTable::setCell(int column, int r, std::string_view text) {
    checkColumn(column, columns_.size());
    std::array<std::string_view, kMostColumns> cells{};
    const std::span<std::string_view> texts = std::span(cells).first(columns_.size());
    textsOf(row(r), texts);
    texts[static_cast<std::size_t>(column)] = text;
    storeRow(r, texts);
    storeValue(laneOf(r, column),
               readCellValue(columns_[static_cast<std::size_t>(column)], text, RegionalSettings{}));
}

void CallTable::writeRow(int r, std::span<const std::string> cells, std::uint32_t marks) {
    std::array<std::string_view, kMostColumns> texts{};
    for (std::size_t c = 0; c < cells.size() && c < texts.size(); ++c) texts[c] = cells[c];
    writeRow(r, CellTexts(texts).first(columns_.size()), marks);
}

void CallTable::writeRow(int r, CellTexts cells, std::uint32_t marks) {
    storeRow(r, cells);
    storeReadValues(r, cells, marks);
    spans_[static_cast<std::size_t>(r)] = {};
}

void CallTable::writeRow(int r, const BuiltRow& built) {
    storeRow(r, built.cells);
    storeValues(r, built.values, built.marks);
    spans_[static_cast<std::size_t>(r)] = built.lines;
}

// Rows are written into a block one after the other: its pages are made
// present a run at a time ahead of them, in one call instead of a page fault
// each.
void CallTable::Block::makePresent(std::size_t end) {
    constexpr std::size_t kAhead = std::size_t{256} << 10;
    const std::size_t upTo = std::min(capacity, std::max(end, present + kAhead));
    populatePages(bytes.get() + present, bytes.get() + upTo);
    present = upTo;
}

char* CallTable::roomFor(std::uint64_t length, std::uint64_t& offset) {
    if (blocks_.empty() || blocks_.back().capacity - blocks_.back().size < length) {
        if (blocks_.size() == kMostBlocks) throw std::length_error("call table blocks");
        const std::size_t grown =
            blocks_.empty() ? kFirstBlock : std::min(blocks_.back().capacity * 2, kLargestBlock);
        const auto capacity = std::max<std::size_t>(grown, static_cast<std::size_t>(length));
        blocks_.push_back({std::unique_ptr<char[]>(new char[capacity]), 0, capacity});
    }
    Block& block = blocks_.back();
    if (block.size + length > block.present) block.makePresent(block.size + length);
    offset = (std::uint64_t{blocks_.size() - 1} << kBlockShift) | block.size;
    char* const room = block.bytes.get() + block.size;
    block.size += static_cast<std::size_t>(length);
    stored_ += length;
    return room;
}

// The texts may be views into this table's own blocks (a cell copied from
// another cell): those stay where they are while the row is written.
void CallTable::storeRow(int r, CellTexts cells) {
    placeRow(row(r), cells);
    compactIfWasteful();
}

void CallTable::placeRow(Row& target, CellTexts cells) {
    if (cells.size() > columns_.size()) cells = cells.first(columns_.size());
    std::size_t end = 0;
    for (const std::string_view text : cells) end += text.size();
    if (end > kLongestRow) throw std::length_error("call table row");
    Ends ends{};
    end = 0;
    for (std::size_t c = 0; c < columns_.size(); ++c) {
        if (c < cells.size()) end += cells[c].size();
        ends[c] = static_cast<std::uint16_t>(end);
    }
    const std::uint16_t shape = shapeOf(ends);
    garbage_ += storedLength(target);
    std::uint64_t offset = 0;
    if (shape != 0) {
        const std::uint64_t inFront = shape == kEndsInFront ? kEndsBytes : 0;
        char* out = roomFor(inFront + end, offset);
        std::memcpy(out, ends.data(), inFront);
        out += inFront;
        for (const std::string_view text : cells) {
            if (text.empty()) continue;
            std::memcpy(out, text.data(), text.size());
            out += text.size();
        }
    }
    target.offset = offset;
    target.shape = shape;
}

int CallTable::addCall(const BuiltRow& built) {
    // The pages of the room reserved made present a run of rows at a time.
    constexpr std::size_t kRowsAhead = 8192;
    if (rows_.size() % kRowsAhead == 0) {
        const std::size_t ahead = std::min(rows_.capacity(), rows_.size() + kRowsAhead);
        populatePages(rows_.data() + rows_.size(), rows_.data() + ahead);
        const std::size_t lanesAhead =
            std::min(lanes_.capacity(), lanes_.size() + kRowsAhead * stride());
        populatePages(lanes_.data() + lanes_.size(), lanes_.data() + lanesAhead);
    }
    if (callCount() > 0) {
        rows_.emplace_back();
        spans_.emplace_back();
        lanes_.resize(lanes_.size() + stride(), kNoValue);
    }
    writeRow(rowCount() - 1, built);
    return rowCount() - 1;
}

int CallTable::addCall(CellTexts cells, std::uint32_t marks) {
    std::array<CellValue, kMostColumns> values{};
    for (std::size_t c = 0; c < columns_.size() && c < cells.size(); ++c)
        values[c] = readCellValue(columns_[c], cells[c], RegionalSettings{});
    return addCall(BuiltRow{cells, std::span(values).first(columns_.size()), marks});
}

void CallTable::clearRow(int r) {
    Row& target = row(r);
    garbage_ += storedLength(target);
    target = Row{};
    storeValues(r, {}, 0);
    spans_[static_cast<std::size_t>(r)] = {};
    compactIfWasteful();
}

void CallTable::compactIfWasteful() {
    if (garbage_ < kCompactThreshold || garbage_ * 2 < stored_) return;
    CallTable packed(columns_);
    packed.rows_.clear();
    packed.rows_.reserve(rows_.size());
    for (const Row& r : rows_) {
        Row moved = r;
        const std::uint64_t length = storedLength(r);
        std::uint64_t offset = 0;
        if (length > 0) std::memcpy(packed.roomFor(length, offset), storedAt(r), length);
        moved.offset = offset;
        packed.rows_.push_back(moved);
    }
    blocks_ = std::move(packed.blocks_);
    stored_ = packed.stored_;
    rows_ = std::move(packed.rows_);
    garbage_ = 0;
}

int CallTable::callCount() const { return cell(0, 0).empty() ? 0 : rowCount(); }

}  // namespace kestal
