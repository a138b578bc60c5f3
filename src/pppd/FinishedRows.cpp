#include "pppd/FinishedRows.h"

#include <algorithm>
#include <numeric>

namespace kestal {

namespace {

// Numbers as 7 bits a byte, the high bit telling that more follow.
void putNumber(std::string& to, std::uint64_t value) {
    while (value >= 0x80) {
        to += static_cast<char>((value & 0x7f) | 0x80);
        value >>= 7;
    }
    to += static_cast<char>(value);
}

void putSigned(std::string& to, std::int64_t value) {
    putNumber(to,
              (static_cast<std::uint64_t>(value) << 1) ^ static_cast<std::uint64_t>(value >> 63));
}

void putText(std::string& to, const std::string& text) {
    putNumber(to, text.size());
    to += text;
}

void putStamp(std::string& to, const std::optional<Stamp>& stamp) {
    if (!stamp) {
        to += '\0';
        return;
    }
    const PrintedTime& t = stamp->printed;
    to += static_cast<char>(t.utcOffset ? 2 : 1);
    putNumber(to, static_cast<std::uint64_t>(t.year));
    to += static_cast<char>(t.month);
    to += static_cast<char>(t.day);
    to += static_cast<char>(t.hour);
    to += static_cast<char>(t.minute);
    to += static_cast<char>(t.second);
    if (t.utcOffset) putSigned(to, *t.utcOffset);
    putSigned(to, stamp->yearStep);
}

class Unpacker {
public:
    explicit Unpacker(const char* at) : at_(at) {}

    std::uint64_t number() {
        std::uint64_t value = 0;
        for (int shift = 0;; shift += 7) {
            const auto byte = static_cast<unsigned char>(*at_++);
            value |= static_cast<std::uint64_t>(byte & 0x7f) << shift;
            if ((byte & 0x80) == 0) return value;
        }
    }
    std::int64_t signedNumber() {
        const std::uint64_t value = number();
        return static_cast<std::int64_t>(value >> 1) ^ -static_cast<std::int64_t>(value & 1);
    }
    int byte() { return static_cast<unsigned char>(*at_++); }
    std::string_view text() { return textOf(number()); }
    std::string_view textOf(std::size_t size) {
        const std::string_view text(at_, size);
        at_ += size;
        return text;
    }
    std::optional<Stamp> stamp() {
        const int kind = byte();
        if (kind == 0) return std::nullopt;
        Stamp stamp;
        PrintedTime& t = stamp.printed;
        t.year = static_cast<int>(number());
        t.month = byte();
        t.day = byte();
        t.hour = byte();
        t.minute = byte();
        t.second = byte();
        if (kind == 2) t.utcOffset = static_cast<int>(signedNumber());
        stamp.yearStep = static_cast<int>(signedNumber());
        return stamp;
    }

private:
    const char* at_;
};

enum Flag : unsigned {
    kSession = 1,
    kTerminated = 2,
    kClosed = 4,
    kHasPid = 8,
    kConnectTimeKnown = 16,
    kBytesKnown = 32,
};

constexpr std::size_t kBlockSize = std::size_t{1} << 20;
// Texts kept once, at most: past that many, new ones are packed whole.
constexpr std::size_t kMostWords = std::size_t{1} << 16;

}  // namespace

void FinishedRows::putWord(std::string& to, const std::string& text, std::size_t slot) {
    std::uint64_t& last = lastWords_[slot];
    if (words_[last] == text) {
        putNumber(to, last << 1);
        return;
    }
    const auto found = wordIds_.find(text);
    if (found != wordIds_.end()) {
        last = found->second;
        putNumber(to, last << 1);
        return;
    }
    if (words_.size() < kMostWords) {
        last = words_.size();
        wordIds_.emplace(text, last);
        putNumber(to, last << 1);
        words_.push_back(text);
        return;
    }
    putNumber(to, text.size() << 1 | 1);
    to += text;
}

void FinishedRows::add(std::size_t number, RowFacts&& row) {
    std::string& to = scratch_;
    to.clear();
    unsigned flags = 0;
    if (row.session) flags |= kSession;
    if (row.terminated) flags |= kTerminated;
    if (row.closed) flags |= kClosed;
    if (row.pid) flags |= kHasPid;
    if (row.connectTimeKnown) flags |= kConnectTimeKnown;
    if (row.bytesKnown) flags |= kBytesKnown;
    to += static_cast<char>(flags);
    if (row.pid) putSigned(to, *row.pid);
    putNumber(to, row.firstLine);
    putNumber(to, row.lastLine - row.firstLine);
    // The lines go up but for copies read late: each as its distance from
    // the one before.
    putNumber(to, row.lines.size());
    std::uint64_t before = row.firstLine;
    for (const std::uint64_t line : row.lines) {
        putSigned(to, static_cast<std::int64_t>(line - before));
        before = line;
    }
    putStamp(to, row.start);
    putStamp(to, row.end);
    putStamp(to, row.last);
    std::size_t slot = 0;
    for (const std::string* text :
         {&row.interface, &row.device, &row.usingInterface, &row.auth, &row.peer, &row.reason}) {
        putWord(to, *text, slot++);
    }
    // Addresses, name servers' too, change from row to row: kept whole.
    for (const std::string* text : {&row.localIp, &row.remoteIp, &row.primaryDns, &row.secondaryDns,
                                    &row.localLinkLocal, &row.remoteLinkLocal}) {
        putText(to, *text);
    }
    putNumber(to, row.tenths);
    putNumber(to, row.sent);
    putNumber(to, row.received);
    to += static_cast<char>(row.endedBy);

    if (blocks_.empty() || blocks_.back().size() + to.size() > blocks_.back().capacity()) {
        blocks_.emplace_back().reserve(std::max(kBlockSize, to.size()));
    }
    index_.push_back(Entry{row.firstLine, number, static_cast<std::uint32_t>(blocks_.size() - 1),
                           static_cast<std::uint32_t>(blocks_.back().size())});
    blocks_.back() += to;
}

std::size_t FinishedRows::bytes() const {
    std::size_t bytes = index_.size() * sizeof(Entry);
    for (const std::string& block : blocks_) bytes += block.capacity();
    for (const std::string& word : words_) bytes += word.size() + 64;
    return bytes;
}

RowFacts FinishedRows::unpack(std::size_t place) const {
    RowFacts row;
    unpack(place, row);
    return row;
}

void FinishedRows::unpack(std::size_t place, RowFacts& row) const {
    const Entry& entry = index_[place];
    Unpacker from(blocks_[entry.block].data() + entry.offset);
    const unsigned flags = static_cast<unsigned>(from.byte());
    row.session = (flags & kSession) != 0;
    row.terminated = (flags & kTerminated) != 0;
    row.closed = (flags & kClosed) != 0;
    row.connectTimeKnown = (flags & kConnectTimeKnown) != 0;
    row.bytesKnown = (flags & kBytesKnown) != 0;
    row.pid.reset();
    if ((flags & kHasPid) != 0) row.pid = static_cast<long>(from.signedNumber());
    row.firstLine = from.number();
    row.lastLine = row.firstLine + from.number();
    row.lines.resize(from.number());
    std::uint64_t line = row.firstLine;
    for (std::uint64_t& at : row.lines) {
        line += static_cast<std::uint64_t>(from.signedNumber());
        at = line;
    }
    row.start = from.stamp();
    row.end = from.stamp();
    row.last = from.stamp();
    for (std::string* text :
         {&row.interface, &row.device, &row.usingInterface, &row.auth, &row.peer, &row.reason}) {
        const std::uint64_t id = from.number();
        if ((id & 1) != 0) {
            text->assign(from.textOf(id >> 1));
        } else {
            text->assign(word(id >> 1));
        }
    }
    for (std::string* text : {&row.localIp, &row.remoteIp, &row.primaryDns, &row.secondaryDns,
                              &row.localLinkLocal, &row.remoteLinkLocal}) {
        text->assign(from.text());
    }
    row.tenths = from.number();
    row.sent = from.number();
    row.received = from.number();
    row.endedBy = static_cast<PppdMessage>(from.byte());
    // Not packed: they matter only while a row is made.
    row.connectTimeCounted = false;
    row.bytesCounted = false;
}

std::vector<std::size_t> FinishedRows::logOrder() const {
    std::vector<std::size_t> order(index_.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [this](std::size_t a, std::size_t b) {
        const Entry& x = index_[a];
        const Entry& y = index_[b];
        return x.firstLine != y.firstLine ? x.firstLine < y.firstLine : x.number < y.number;
    });
    return order;
}

}  // namespace kestal
