#include "pppd/PppdTable.h"

#include <algorithm>
#include <array>
#include <ctime>
#include <exception>
#include <iterator>
#include <span>
#include <string>
#include <thread>
#include <tuple>

#include "lines/InOrder.h"
#include "table/ValueReaders.h"

namespace kestal {

namespace {

constexpr std::string_view kUnknown = "-";

std::tuple<int, int, int, int, int> clockOrder(const PrintedTime& t) {
    return {t.month, t.day, t.hour, t.minute, t.second};
}

// Days since 1970-01-01 of a date of the proleptic Gregorian calendar.
std::int64_t daysFromCivil(std::int64_t y, int m, int d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

struct Resolved {
    PrintedTime time;          // year known
    std::int64_t seconds = 0;  // as the clock printed it, since 1970
};

class Clock {
public:
    Clock(const ReadSoFar& read, const PppdReadOptions& options) : newest_(read.lastYearless) {
        if (newest_) newestYear_ = yearOf(*newest_, *newest_, options.newestTime);
    }

    std::optional<Resolved> resolve(const std::optional<Stamp>& stamp) const {
        if (!stamp) return std::nullopt;
        Resolved r;
        r.time = stamp->printed;
        if (r.time.year == 0)
            r.time.year = newest_ ? newestYear_ - (newest_->yearStep - stamp->yearStep) : 1970;
        r.seconds = daysFromCivil(r.time.year, r.time.month, r.time.day) * 86400 +
                    r.time.hour * 3600 + r.time.minute * 60 + r.time.second;
        return r;
    }

private:
    std::optional<Stamp> newest_;  // the last date without a year, and its year
    int newestYear_ = 0;
};

// Digits of value, width of them with leading zeros, written backwards to
// end (snprintf costs more than the rest of a row). Returns where they
// begin.
char* digitsBefore(char* end, std::uint64_t value, int width) {
    char* at = end;
    do {
        *--at = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value > 0 && end - at < 20);
    while (end - at < width) *--at = '0';
    return at;
}

void appendDigits(std::string& text, std::uint64_t value, int width) {
    char digits[24];
    char* const end = digits + sizeof digits;
    const char* const begin = digitsBefore(end, value, width);
    text.append(begin, static_cast<std::size_t>(end - begin));
}

// Two digits of a field known to be below 100.
void putTwoDigits(char* at, int value) {
    at[0] = static_cast<char>('0' + value / 10 % 10);
    at[1] = static_cast<char>('0' + value % 10);
}

// MM-DD-YYYY hh:mm:ss
void appendTime(std::string& text, const Resolved& r) {
    char time[] = "MM-DD-YYYY hh:mm:ss";
    putTwoDigits(time, r.time.month);
    putTwoDigits(time + 3, r.time.day);
    const std::uint64_t year =
        r.time.year < 0 ? 0 : static_cast<std::uint64_t>(r.time.year % 10000);
    digitsBefore(time + 10, year, 4);
    putTwoDigits(time + 11, r.time.hour);
    putTwoDigits(time + 14, r.time.minute);
    putTwoDigits(time + 17, r.time.second);
    text.append(time, sizeof time - 1);
}

// hh:mm:ss, the hours going past 24.
void appendDuration(std::string& text, std::uint64_t seconds) {
    appendDigits(text, seconds / 3600, 2);
    char rest[] = ":mm:ss";
    putTwoDigits(rest + 1, static_cast<int>(seconds / 60 % 60));
    putTwoDigits(rest + 4, static_cast<int>(seconds % 60));
    text.append(rest, sizeof rest - 1);
}

// The builder of one row's cells and values. Each cell is written anew into
// the text it held for the last row, so that a builder used row after row
// allocates next to nothing.
class RowCells {
public:
    // The cell's text, emptied for the caller to write, and its value.
    std::string& cell(PppdColumn column, CellValue value = {}) {
        const auto index = static_cast<std::size_t>(indexOf(column));
        values_[index] = value;
        texts_[index].clear();
        return texts_[index];
    }
    void setText(PppdColumn column, std::string_view text) {
        cell(column).assign(text.empty() ? kUnknown : text);
    }
    void setAddress(PppdColumn column, std::string_view text) {
        const std::optional<std::uint32_t> address = readAddress(text);
        cell(column, address ? CellValue::count(*address) : CellValue{})
            .assign(text.empty() ? kUnknown : text);
    }
    void setCount(PppdColumn column, bool known, std::uint64_t count) {
        if (known) {
            appendDigits(cell(column, CellValue::count(count)), count, 1);
        } else {
            cell(column).assign(kUnknown);
        }
    }
    void setTime(PppdColumn column, const std::optional<Resolved>& time) {
        if (time) {
            appendTime(cell(column, CellValue::of(time->seconds)), *time);
        } else {
            cell(column).assign(kUnknown);
        }
    }
    BuiltRow built(std::uint32_t marks) {
        for (std::size_t i = 0; i < texts_.size(); ++i) views_[i] = texts_[i];
        return BuiltRow{views_, values_, marks, {}};
    }

private:
    std::array<std::string, kPppdColumnCount> texts_;
    std::array<std::string_view, kPppdColumnCount> views_;
    std::array<CellValue, kPppdColumnCount> values_;
};

// Seconds from start to end, by the offsets from UTC when both were printed
// with one; none when either is unknown or the clock went back.
std::optional<std::int64_t> durationOf(const std::optional<Resolved>& start,
                                       const std::optional<Resolved>& end) {
    if (!start || !end) return std::nullopt;
    std::int64_t seconds = end->seconds - start->seconds;
    if (start->time.utcOffset && end->time.utcOffset) {
        seconds -= *end->time.utcOffset - *start->time.utcOffset;
    }
    if (seconds < 0) return std::nullopt;
    return seconds;
}

std::uint32_t writeRow(const RowFacts& row, const Clock& clock, RowCells& cells) {
    const bool stillUp =
        row.session && !row.terminated && !row.closed && row.endedBy == PppdMessage::Other;
    std::optional<Stamp> endStamp = row.end;
    if (row.session && !row.terminated && !row.closed && !stillUp) endStamp = row.last;
    const std::optional<Resolved> start = clock.resolve(row.start);
    const std::optional<Resolved> end = stillUp ? std::nullopt : clock.resolve(endStamp);
    cells.setTime(PppdColumn::StartTime, start);
    cells.setTime(PppdColumn::EndTime, end);
    if (const std::optional<std::int64_t> seconds = durationOf(start, end)) {
        appendDuration(cells.cell(PppdColumn::Duration, CellValue::of(*seconds)),
                       static_cast<std::uint64_t>(*seconds));
    } else {
        cells.cell(PppdColumn::Duration).assign(kUnknown);
    }
    cells.setCount(PppdColumn::Pid, row.pid.has_value(),
                   row.pid ? static_cast<std::uint64_t>(*row.pid) : 0);
    cells.setText(PppdColumn::Interface,
                  row.interface.empty() ? row.usingInterface : row.interface);
    cells.setText(PppdColumn::Device, row.device);
    cells.setText(PppdColumn::Auth, row.auth);
    cells.setText(PppdColumn::Peer, row.peer);
    const bool ipv4 = !row.localIp.empty() || !row.remoteIp.empty();
    cells.setAddress(PppdColumn::LocalIp, ipv4 ? row.localIp : row.localLinkLocal);
    cells.setAddress(PppdColumn::RemoteIp, ipv4 ? row.remoteIp : row.remoteLinkLocal);
    cells.setAddress(PppdColumn::PrimaryDns, row.primaryDns);
    cells.setAddress(PppdColumn::SecondaryDns, row.secondaryDns);
    if (row.connectTimeKnown) {
        std::string& text = cells.cell(PppdColumn::ConnectTime, CellValue::count(row.tenths));
        appendDigits(text, row.tenths / 10, 1);
        text += '.';
        appendDigits(text, row.tenths % 10, 1);
    } else {
        cells.cell(PppdColumn::ConnectTime).assign(kUnknown);
    }
    cells.setCount(PppdColumn::BytesSent, row.bytesKnown, row.sent);
    cells.setCount(PppdColumn::BytesReceived, row.bytesKnown, row.received);

    std::uint32_t marks = row.session ? kSessionMark : kFailedAttemptMark;
    if (stillUp) {
        cells.setText(PppdColumn::EndedBy, "still up");
        marks |= kStillUpMark;
    } else if (row.endedBy == PppdMessage::Other) {
        cells.setText(PppdColumn::EndedBy, "unknown");
    } else {
        cells.setText(PppdColumn::EndedBy, endedByWords(row.endedBy));
    }
    if (row.session && !stillUp && isDroppedEnd(row.endedBy)) marks |= kDroppedMark;
    cells.setText(PppdColumn::Reason, row.reason);
    return marks;
}

}  // namespace

int yearOf(const Stamp& stamp, const Stamp& newest, std::int64_t newestTime) {
    const std::time_t seconds = static_cast<std::time_t>(newestTime);
    std::tm local{};
    localtime_r(&seconds, &local);
    const PrintedTime now{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                          local.tm_min,         local.tm_sec,     std::nullopt};
    const int newestYear = clockOrder(newest.printed) <= clockOrder(now) ? now.year : now.year - 1;
    return newestYear - (newest.yearStep - stamp.yearStep);
}

namespace {

// The finished row at this place of the log order, as the table shows it:
// its cells, and its lines.
// row is the facts of the row made before, unpacked over.
BuiltRow makeRow(const ReadSoFar& read, const Clock& clock, std::size_t place, RowFacts& row,
                 RowCells& cells, std::vector<std::uint64_t>& lines) {
    read.finished.unpack(place, row);
    // A copy read as pppd's once its second was over comes after lines
    // that followed it: the row's lines go back into log order.
    if (!std::is_sorted(row.lines.begin(), row.lines.end())) {
        std::sort(row.lines.begin(), row.lines.end());
    }
    const std::uint32_t marks = writeRow(row, clock, cells);
    BuiltRow built = cells.built(marks);
    built.lines = row.lines.empty() ? LineSpan{row.firstLine, row.lastLine + 1}
                                    : LineSpan{row.lines.front(), row.lines.back() + 1};
    lines.swap(row.lines);
    return built;
}

// The finished rows at these places of the log order, as the table shows
// them.
void visitRows(const ReadSoFar& read, const Clock& clock, std::span<const std::size_t> places,
               const PppdRowSink& sink) {
    RowFacts row;
    RowCells cells;
    std::vector<std::uint64_t> lines;
    for (const std::size_t place : places)
        sink(makeRow(read, clock, place, row, cells, lines), lines);
}

// Rows made on other threads, a batch at a time, for one that takes them.
struct RowBatch {
    RowFacts facts;  // of the row made last
    std::vector<RowCells> cells;
    std::vector<BuiltRow> rows;
    std::vector<std::vector<std::uint64_t>> lines;
};

constexpr std::size_t kRowsInBatch = 256;

// The rows at these places of the log order, added to log.
void addRows(PppdLog& log, const ReadSoFar& read, const Clock& clock, bool keepLines,
             std::span<const std::size_t> places) {
    log.table.reserveCalls(places.size());
    visitRows(read, clock, places, [&](const BuiltRow& row, std::vector<std::uint64_t>& lines) {
        log.table.addCall(row);
        if (keepLines) log.rowLines.push_back(std::move(lines));
        if ((row.marks & kSessionMark) != 0) {
            ++log.sessions;
        } else {
            ++log.failedAttempts;
        }
    });
}

// Below this many rows a table is made on one thread.
constexpr std::size_t kRowsForTwoThreads = 8192;

}  // namespace

void forEachPppdRow(const ReadSoFar& read, const PppdReadOptions& options,
                    const PppdRowSink& sink) {
    const Clock clock(read, options);
    const std::vector<std::size_t> order = read.finished.logOrder();
    if (order.size() < kRowsForTwoThreads || std::thread::hardware_concurrency() < 2) {
        visitRows(read, clock, order, sink);
        return;
    }
    // The rows are made on two threads while this one hands them on.
    makeInOrder<RowBatch>(
        (order.size() + kRowsInBatch - 1) / kRowsInBatch, 1, 4,
        [&](RowBatch& batch, std::uint64_t k) {
            const std::size_t first = k * kRowsInBatch;
            const std::size_t count = std::min(kRowsInBatch, order.size() - first);
            batch.cells.resize(count);
            batch.lines.resize(count);
            batch.rows.clear();
            for (std::size_t i = 0; i < count; ++i) {
                batch.rows.push_back(makeRow(read, clock, order[first + i], batch.facts,
                                             batch.cells[i], batch.lines[i]));
            }
        },
        [&](RowBatch& batch) {
            for (std::size_t i = 0; i < batch.rows.size(); ++i) sink(batch.rows[i], batch.lines[i]);
        });
}

PppdLog makePppdLog(ReadSoFar&& read, const PppdReadOptions& options) {
    PppdLog log;
    log.linesNotUnderstood = read.notUnderstood;
    const Clock clock(read, options);
    for (auto [stamp, dated] : {std::pair{&read.firstDated, &log.span.first},
                                std::pair{&read.lastDated, &log.span.last}}) {
        if (const std::optional<Resolved> time = clock.resolve(*stamp))
            *dated = DatedLine{time->seconds, time->time.utcOffset};
    }
    const std::vector<std::size_t> order = read.finished.logOrder();
    const std::span<const std::size_t> places(order);
    if (order.size() < kRowsForTwoThreads || std::thread::hardware_concurrency() < 2) {
        addRows(log, read, clock, options.keepLines, places);
        return log;
    }
    // The later half of the rows is made on a thread of its own, and joins
    // the table after the first half.
    const std::size_t half = order.size() / 2;
    PppdLog later;
    std::exception_ptr failure;
    std::thread second([&] {
        try {
            addRows(later, read, clock, options.keepLines, places.subspan(half));
        } catch (...) {
            failure = std::current_exception();
        }
    });
    try {
        addRows(log, read, clock, options.keepLines, places.first(half));
    } catch (...) {
        second.join();
        throw;
    }
    second.join();
    if (failure) std::rethrow_exception(failure);
    log.table.appendCalls(std::move(later.table));
    log.rowLines.insert(log.rowLines.end(), std::make_move_iterator(later.rowLines.begin()),
                        std::make_move_iterator(later.rowLines.end()));
    log.sessions += later.sessions;
    log.failedAttempts += later.failedAttempts;
    return log;
}

}  // namespace kestal
