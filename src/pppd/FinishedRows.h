// The rows the pppd reader has finished: nothing more of the log can change
// them, so each is kept packed into a few bytes, not as its facts. A system
// log of a gigabyte holds a quarter of a million of them.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "pppd/PppdSessions.h"

namespace kestal {

class FinishedRows {
public:
    // Row number: the order in which rows began to be made.
    void add(std::size_t number, RowFacts&& row);
    std::size_t size() const { return index_.size(); }
    // What the packed rows take, about.
    std::size_t bytes() const;

    // Each row's place, in log order (by its first line; rows that began on
    // the same line in the order they began to be made), and the row at a
    // place.
    std::vector<std::size_t> logOrder() const;
    RowFacts unpack(std::size_t place) const;
    // The same into row, every field written anew: a row unpacked over the
    // last one reuses its memory.
    void unpack(std::size_t place, RowFacts& row) const;

private:
    struct Entry {
        std::uint64_t firstLine;
        std::size_t number;
        std::uint32_t block;
        std::uint32_t offset;
    };
    // slot: which of a row's texts it is; the same text as the last row's
    // there is packed without a look-up.
    void putWord(std::string& to, const std::string& text, std::size_t slot);
    const std::string& word(std::uint64_t id) const { return words_[id]; }

    // Rows packed back to back in blocks that never move, so that the
    // memory grows with the rows, not by doubling.
    std::deque<std::string> blocks_;
    std::deque<Entry> index_;
    // Texts that repeat from row to row (interfaces, devices, peers,
    // reasons) are kept once and packed as their number.
    std::vector<std::string> words_{std::string()};
    std::unordered_map<std::string, std::uint64_t> wordIds_;
    std::array<std::uint64_t, 6> lastWords_{};  // each slot's last text kept once
    std::string scratch_;                       // the row being packed
};

// Rows as their facts while they are made, the lines not understood, and
// where the log's clock stood at its last dated line.
struct ReadSoFar {
    // Rows still being made, by their number (the order they began to be
    // made in); finished ones are packed away.
    std::map<std::size_t, RowFacts> open;
    std::size_t rowsMade = 0;
    FinishedRows finished;
    std::uint64_t notUnderstood = 0;
    std::optional<Stamp> lastYearless;  // the last line dated without a year
    std::optional<Stamp> firstDated;    // the log's first and last dated lines
    std::optional<Stamp> lastDated;
};

}  // namespace kestal
