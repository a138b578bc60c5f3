// One cell's value as the call table keeps it: a number whose meaning the
// column's kind gives (TableColumns.h), or none.
#pragma once

#include <cstdint>
#include <limits>
#include <optional>

#include "table/TableColumns.h"

namespace kestal {

class CellValue {
public:
    enum class State : std::uint8_t {
        None,
        Whole,
        // A Time whose date can be read but not its time of day: the value is
        // the day's first second.
        DayOnly,
    };

    CellValue() = default;
    static CellValue count(std::uint64_t number) { return {number, State::Whole}; }
    static CellValue of(std::int64_t number) {
        return {static_cast<std::uint64_t>(number), State::Whole};
    }
    static CellValue dayOnly(std::int64_t days) {
        return {static_cast<std::uint64_t>(days * kSecondsPerDay), State::DayOnly};
    }
    static CellValue fromBits(std::uint64_t bits, State state) { return {bits, state}; }

    State state() const { return state_; }
    bool whole() const { return state_ == State::Whole; }
    std::uint64_t bits() const { return bits_; }

    // A Number's count; none unless whole.
    std::optional<std::uint64_t> asCount() const {
        if (!whole()) return std::nullopt;
        return bits_;
    }
    // Seconds, a Duration, a Decimal's steps; none unless whole.
    std::optional<std::int64_t> asNumber() const {
        if (!whole()) return std::nullopt;
        return static_cast<std::int64_t>(bits_);
    }
    // A Time's day (days since 1970-01-01), also when only the day is known.
    std::optional<std::int64_t> day() const {
        if (state_ == State::None) return std::nullopt;
        const auto seconds = static_cast<std::int64_t>(bits_);
        return seconds >= 0 ? seconds / kSecondsPerDay : -((-seconds - 1) / kSecondsPerDay) - 1;
    }
    // The value as one ordered number for sorting by the column: counts
    // beyond the largest signed number stand level with it. None for a cell
    // without a whole value, and for text.
    std::optional<std::int64_t> sortKey(ValueKind kind) const {
        if (!whole() || kind == ValueKind::Text) return std::nullopt;
        if (kind == ValueKind::Number || kind == ValueKind::Address) {
            constexpr auto kHighest = static_cast<std::uint64_t>(INT64_MAX);
            return static_cast<std::int64_t>(bits_ > kHighest ? kHighest : bits_);
        }
        return static_cast<std::int64_t>(bits_);
    }

    friend bool operator==(const CellValue&, const CellValue&) = default;

    static constexpr std::int64_t kSecondsPerDay = 86400;

private:
    CellValue(std::uint64_t bits, State state) : bits_(bits), state_(state) {}

    std::uint64_t bits_ = 0;
    State state_ = State::None;
};

}  // namespace kestal
