// Adding another table's calls after a table's own.
#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "platform/Pages.h"
#include "table/CallTable.h"

namespace kestal {

// Into an empty row 0 goes other's first call, copied; the rest are added
// after it.
std::size_t CallTable::firstRowToAppend(const CallTable& other) {
    if (callCount() > 0) return 0;
    std::array<std::string_view, kMostColumns> cells{};
    const std::span<std::string_view> texts = std::span(cells).first(columns_.size());
    other.textsOf(other.rows_[0], texts);
    storeRow(0, texts);
    std::array<CellValue, kMostColumns> values{};
    for (std::size_t c = 0; c < columns_.size(); ++c)
        values[c] = other.value(static_cast<int>(c), 0);
    storeValues(0, std::span(values).first(columns_.size()), other.marks(0));
    spans_[0] = other.spans_[0];
    garbage_ += other.storedLength(other.rows_[0]);  // its bytes come along unused
    return 1;
}

void CallTable::addRowsOf(const CallTable& other, std::size_t from, std::size_t base) {
    garbage_ += other.garbage_;
    const std::size_t count = other.rows_.size() - from;
    // Their values, lanes and wide ones, after this table's.
    const std::size_t laneBase = lanes_.size() - from * stride();
    lanes_.insert(lanes_.end(), other.lanes_.begin() + static_cast<std::ptrdiff_t>(from * stride()),
                  other.lanes_.end());
    for (const auto& [lane, value] : other.wide_)
        if (lane >= from * stride()) wide_[laneBase + lane] = value;
    spans_.insert(spans_.end(), other.spans_.begin() + static_cast<std::ptrdiff_t>(from),
                  other.spans_.end());
    rows_.reserve(rows_.size() + count);
    // Their pages made present at once, not a fault each.
    populatePages(rows_.data() + rows_.size(), rows_.data() + rows_.size() + count);
    // Other's shapes as this table's (kEndsInFront where it has no room).
    std::vector<std::uint16_t> shapes(other.shapes_.size());
    for (std::size_t s = 0; s < shapes.size(); ++s) shapes[s] = shapeOf(other.shapes_[s]);
    for (std::size_t i = from; i < other.rows_.size(); ++i) {
        Row added = other.rows_[i];
        if (added.shape == 0) {
            rows_.push_back(added);
            continue;
        }
        added.offset += std::uint64_t{base} << kBlockShift;
        const std::uint16_t shape =
            added.shape == kEndsInFront ? kEndsInFront : shapes[added.shape];
        if (shape != kEndsInFront || added.shape == kEndsInFront) {
            added.shape = shape;
            rows_.push_back(added);
            continue;
        }
        // A shape this table had no room for: the row is written again, its
        // ends in front.
        const Ends& ends = other.shapes_[other.rows_[i].shape];
        const char* const text = storedAt(added);
        std::array<std::string_view, kMostColumns> cells{};
        std::size_t begin = 0;
        for (std::size_t c = 0; c < columns_.size(); ++c) {
            cells[c] = std::string_view(text + begin, ends[c] - begin);
            begin = ends[c];
        }
        garbage_ += textLength(ends);
        placeRow(rows_.emplace_back(), CellTexts(cells).first(columns_.size()));
    }
    compactIfWasteful();
}

void CallTable::appendCalls(const CallTable& other) {
    if (other.columns_.size() != columns_.size()) throw std::invalid_argument("call table columns");
    if (other.callCount() == 0) return;
    const std::size_t from = firstRowToAppend(other);
    const std::size_t base = blocks_.size();
    for (const Block& block : other.blocks_) {
        Block copy{std::unique_ptr<char[]>(new char[block.size]), block.size, block.size};
        std::copy_n(block.bytes.get(), block.size, copy.bytes.get());
        blocks_.push_back(std::move(copy));
        stored_ += block.size;
    }
    addRowsOf(other, from, base);
}

void CallTable::appendCalls(CallTable&& other) {
    if (other.columns_.size() != columns_.size()) throw std::invalid_argument("call table columns");
    if (other.callCount() == 0) return;
    const std::size_t from = firstRowToAppend(other);
    const std::size_t base = blocks_.size();
    for (Block& block : other.blocks_) blocks_.push_back(std::move(block));
    stored_ += other.stored_;
    addRowsOf(other, from, base);
    other.reset();
}

}  // namespace kestal
