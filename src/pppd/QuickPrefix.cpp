#include "pppd/QuickPrefix.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "pppd/PppdMessages.h"

namespace kestal {

namespace {

bool isDigit(char c) { return static_cast<unsigned char>(c - '0') <= 9; }

int twoDigits(const char* p) { return (p[0] - '0') * 10 + (p[1] - '0'); }

// The month of an English name's three letters: a hash of them picks the
// one name they can be, without a branch for each.
int englishMonth(const char* p) {
    const std::uint32_t key = static_cast<std::uint32_t>(static_cast<unsigned char>(p[0])) |
                              static_cast<std::uint32_t>(static_cast<unsigned char>(p[1])) << 8 |
                              static_cast<std::uint32_t>(static_cast<unsigned char>(p[2])) << 16;
    constexpr auto keyOf = [](const char(&name)[4]) {
        return static_cast<std::uint32_t>(name[0]) | static_cast<std::uint32_t>(name[1]) << 8 |
               static_cast<std::uint32_t>(name[2]) << 16;
    };
    struct Entry {
        std::uint32_t key;
        int month;
    };
    // Each name at place (key * 0x67e4 mod 2^32) >> 28 of its key.
    static constexpr Entry kMonths[16] = {
        {keyOf("Jul"), 7},   // 0
        {keyOf("Nov"), 11},  // 1
        {0, 0},              // 2
        {keyOf("Oct"), 10},  // 3
        {keyOf("May"), 5},   // 4
        {keyOf("Dec"), 12},  // 5
        {keyOf("Mar"), 3},   // 6
        {keyOf("Apr"), 4},   // 7
        {0, 0},              // 8
        {keyOf("Sep"), 9},   // 9
        {0, 0},              // 10
        {0, 0},              // 11
        {keyOf("Jan"), 1},   // 12
        {keyOf("Jun"), 6},   // 13
        {keyOf("Feb"), 2},   // 14
        {keyOf("Aug"), 8},   // 15
    };
    const Entry& entry = kMonths[(key * 0x67e4u) >> 28];
    return entry.key == key ? entry.month : 0;
}

// "Mmm dd hh:mm:ss" (the day also " d") in the first 15 of at least 16
// bytes.
bool readClassicTime(const char* p, PrintedTime& t) {
#if defined(__SSE2__)
    // Which of the 16 bytes are digits, and which are the blanks and colons
    // between the fields, in a few vector steps.
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i offsets = _mm_sub_epi8(bytes, _mm_set1_epi8('0'));
    const __m128i digits = _mm_cmpeq_epi8(_mm_min_epu8(offsets, _mm_set1_epi8(9)), offsets);
    const __m128i separators = _mm_cmpeq_epi8(
        bytes, _mm_setr_epi8(0, 0, 0, ' ', 0, 0, ' ', 0, 0, ':', 0, 0, ':', 0, 0, 0));
    const auto digitMask = static_cast<unsigned>(_mm_movemask_epi8(digits));
    const auto separatorMask = static_cast<unsigned>(_mm_movemask_epi8(separators));
    constexpr unsigned kDigits =
        1u << 5 | 1u << 7 | 1u << 8 | 1u << 10 | 1u << 11 | 1u << 13 | 1u << 14;
    constexpr unsigned kSeparators = 1u << 3 | 1u << 6 | 1u << 9 | 1u << 12;
    if ((digitMask & kDigits) != kDigits || (separatorMask & kSeparators) != kSeparators) {
        return false;
    }
    const bool paddedDay = p[4] == ' ';
    if (!paddedDay && (digitMask & 1u << 4) == 0) return false;
#else
    if (p[3] != ' ' || p[6] != ' ' || p[9] != ':' || p[12] != ':') return false;
    for (const int at : {5, 7, 8, 10, 11, 13, 14}) {
        if (!isDigit(p[at])) return false;
    }
    const bool paddedDay = p[4] == ' ';
    if (!paddedDay && !isDigit(p[4])) return false;
#endif
    t.month = englishMonth(p);
    t.day = paddedDay ? p[5] - '0' : twoDigits(p + 4);
    t.hour = twoDigits(p + 7);
    t.minute = twoDigits(p + 10);
    t.second = twoDigits(p + 13);
    return t.month != 0 && t.day >= 1 && t.day <= 31 && t.hour <= 23 && t.minute <= 59 &&
           t.second <= 60;
}

// The bits from..to - 1.
std::uint64_t bitsBetween(unsigned from, unsigned to) {
    const std::uint64_t below = to >= 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << to) - 1;
    return below & ~((std::uint64_t{1} << from) - 1);
}

// Where the blanks, colons, opening brackets and digits stand among the
// first 64 bytes of a text, worked out 32 bytes at a time as far as they
// are looked at. The end of the text counts as a blank, so that a token
// that ends there ends at a blank too.
class TokenMasks {
public:
    static constexpr unsigned kWindow = 64;

    TokenMasks(const char* at, const char* end)
        : at_(at), size_(static_cast<std::size_t>(end - at)) {
        scan();
    }

    // The first blank at from or after, kWindow when none is in the window.
    unsigned blankFrom(unsigned from) {
        if (from >= kWindow) return kWindow;
        for (;;) {
            const std::uint64_t blanks = blanks_ >> from << from;
            if (blanks != 0) return static_cast<unsigned>(std::countr_zero(blanks));
            if (covered_ >= kWindow || covered_ >= size_) return kWindow;
            scan();
        }
    }

    bool colonAt(unsigned at) const { return (colons_ >> at & 1) != 0; }
    std::uint64_t colons(unsigned from, unsigned to) const {
        return colons_ & bitsBetween(from, to);
    }
    std::uint64_t brackets(unsigned from, unsigned to) const {
        return brackets_ & bitsBetween(from, to);
    }
    bool allDigits(unsigned from, unsigned to) const {
        const std::uint64_t wanted = bitsBetween(from, to);
        return (digits_ & wanted) == wanted;
    }

private:
    static constexpr unsigned kStep = 32;

    void scan() {
        const unsigned from = covered_;
        const std::size_t left = size_ > from ? size_ - from : 0;
        const char* bytes = at_ + from;
#if defined(__SSE2__)
        alignas(16) char copy[kStep];
        if (left < kStep) {
            // Zeros after the end: none of them is looked for.
            std::memset(copy, 0, kStep);
            std::memcpy(copy, bytes, left);
            bytes = copy;
        }
        for (unsigned i = 0; i < kStep; i += 16) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + i));
            const auto maskOf = [](__m128i found) {
                return static_cast<std::uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(found)));
            };
            const unsigned shift = from + i;
            blanks_ |= maskOf(_mm_cmpeq_epi8(v, _mm_set1_epi8(' '))) << shift;
            colons_ |= maskOf(_mm_cmpeq_epi8(v, _mm_set1_epi8(':'))) << shift;
            brackets_ |= maskOf(_mm_cmpeq_epi8(v, _mm_set1_epi8('['))) << shift;
            const __m128i offsets = _mm_sub_epi8(v, _mm_set1_epi8('0'));
            digits_ |= maskOf(_mm_cmpeq_epi8(_mm_min_epu8(offsets, _mm_set1_epi8(9)), offsets))
                       << shift;
        }
#else
        for (unsigned i = 0; i < std::min<std::size_t>(left, kStep); ++i) {
            const std::uint64_t bit = std::uint64_t{1} << (from + i);
            if (bytes[i] == ' ') blanks_ |= bit;
            if (bytes[i] == ':') colons_ |= bit;
            if (bytes[i] == '[') brackets_ |= bit;
            if (isDigit(bytes[i])) digits_ |= bit;
        }
#endif
        if (left < kStep) blanks_ |= std::uint64_t{1} << size_;
        covered_ = from + kStep;
    }

    const char* at_;
    std::size_t size_;
    unsigned covered_ = 0;  // bytes looked at
    std::uint64_t blanks_ = 0;
    std::uint64_t colons_ = 0;
    std::uint64_t brackets_ = 0;
    std::uint64_t digits_ = 0;
};

// daemon.notice, local2.info: lower-case letters and digits about a dot.
bool isFacilityLevel(std::string_view token) {
    const std::size_t dot = token.find('.');
    if (dot == 0 || dot == std::string_view::npos || dot + 1 == token.size()) return false;
    return std::all_of(token.begin(), token.end(),
                       [](char c) { return c == '.' || (c >= 'a' && c <= 'z') || isDigit(c); });
}

}  // namespace

bool readQuickly(std::string_view s, QuickLine& quick) {
    if (s.size() < 20) return false;
    const char* const p = s.data();
    if (!readClassicTime(p, quick.time)) return false;
    std::size_t pos = 15;
    if (p[pos] == '.') {
        ++pos;
        while (pos < s.size() && isDigit(s[pos])) ++pos;
    }
    if (pos >= s.size() || s[pos] != ' ') return false;
    const char* const at = p + pos + 1;
    const char* const end = p + s.size();
    const auto size = static_cast<std::size_t>(end - at);
    TokenMasks masks(at, end);

    // HOST: a token of its own, neither an IDENT nor an IDENT[PID] (the
    // whole reader would take such a line as one without HOST).
    const unsigned hostEnd = masks.blankFrom(0);
    if (hostEnd == 0 || hostEnd >= size || masks.colonAt(hostEnd - 1) ||
        masks.brackets(0, hostEnd) != 0) {
        return false;
    }
    unsigned identStart = hostEnd + 1;
    unsigned identEnd = masks.blankFrom(identStart);
    if (identEnd >= TokenMasks::kWindow || identEnd == identStart) return false;
    if (!masks.colonAt(identEnd - 1)) {
        // FACILITY.LEVEL, then IDENT.
        if (identEnd >= size ||
            !isFacilityLevel(std::string_view(at + identStart, identEnd - identStart))) {
            return false;
        }
        identStart = identEnd + 1;
        identEnd = masks.blankFrom(identStart);
        if (identEnd >= TokenMasks::kWindow || identEnd == identStart) return false;
    }
    // IDENT: or IDENT[PID]:, its only colon the last byte.
    if (identEnd - identStart < 2 || masks.colons(identStart, identEnd) != std::uint64_t{1}
                                                                               << (identEnd - 1)) {
        return false;
    }
    unsigned programEnd = identEnd - 1;
    quick.pid = {};
    if (const std::uint64_t brackets = masks.brackets(identStart, identEnd); brackets != 0) {
        // One to ten digits between the brackets.
        programEnd = static_cast<unsigned>(std::countr_zero(brackets));
        const unsigned digitsEnd = identEnd - 2;
        if (programEnd == identStart || at[digitsEnd] != ']' || digitsEnd <= programEnd + 1 ||
            digitsEnd - (programEnd + 1) > 10 || !masks.allDigits(programEnd + 1, digitsEnd)) {
            return false;
        }
        quick.pid = std::string_view(at + programEnd + 1, digitsEnd - (programEnd + 1));
    }
    quick.program = std::string_view(at + identStart, programEnd - identStart);
    quick.message =
        identEnd >= size ? std::string_view{} : std::string_view(at + identEnd + 1, end);
    return true;
}

bool QuickLine::isOthers() const {
    return program != "pppd" && program != "chat" &&
           readMessage(withoutEcho(message)).kind == PppdMessage::Other;
}

PrefixedLine QuickLine::prefixed() const {
    PrefixedLine line;
    line.time = time;
    line.program = program;
    if (!pid.empty()) {
        long value = 0;
        for (const char digit : pid) value = value * 10 + (digit - '0');
        line.pid = value;
    }
    line.message = message;
    return line;
}

std::optional<PrefixedLine> readQuickly(std::string_view line) {
    QuickLine quick;
    if (!readQuickly(line, quick)) return std::nullopt;
    return quick.prefixed();
}

}  // namespace kestal
