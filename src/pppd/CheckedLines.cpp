#include "pppd/CheckedLines.h"

#include <algorithm>
#include <exception>
#include <thread>

#include "lines/InOrder.h"
#include "pppd/PppdMessages.h"
#include "pppd/QuickPrefix.h"

namespace kestal {

namespace {

// A batch is handed over at this many lines or bytes, and at most this many
// are checked ahead of the reader: enough to keep the threads busy, little
// memory. Lines already in memory are checked by two threads, four batches
// ahead each.
constexpr std::size_t kBatchLines = 16384;
constexpr std::size_t kBatchBytes = std::size_t{1} << 20;
constexpr std::size_t kSlots = 6;
constexpr std::size_t kSlotsApart = 8;
constexpr std::uint32_t kPassedOver = 1u << 31;

// The reading thread's end of the hand-over; what the reader's side throws
// stops it at its next batch.
struct Stopped {};

std::uint32_t packedTime(const PrintedTime& t) {
    return kPassedOver | static_cast<std::uint32_t>(t.month) << 22 |
           static_cast<std::uint32_t>(t.day) << 17 | static_cast<std::uint32_t>(t.hour) << 12 |
           static_cast<std::uint32_t>(t.minute) << 6 | static_cast<std::uint32_t>(t.second);
}

// The batches the reading thread fills one after another.
class BatchQueue : public CheckedLineSink {
public:
    explicit BatchQueue(const MonthNames& months) : months_(months), batches_(kSlots) {}

    void add(std::string_view line) override {
        CheckedBatch& batch = batches_[ordered_.slotOf(filling_)];
        batch.add(line, months_);
        if (batch.size() >= kBatchLines || batch.text.size() >= kBatchBytes) handOver();
    }

    // The reading thread's last batch, and how it ended: the lines read
    // before a failure are read all the same, as they are on one thread.
    void finish(std::exception_ptr failure) {
        try {
            if (batches_[ordered_.slotOf(filling_)].size() > 0) handOver();
        } catch (const Stopped&) {
        } catch (...) {
            if (!failure) failure = std::current_exception();
        }
        ordered_.end(filling_, failure);
    }

    // Each batch in order, to the end or until take throws.
    void takeAll(const std::function<void(const CheckedBatch&)>& take) {
        try {
            for (std::uint64_t k = 0; ordered_.waitToTake(k); ++k) {
                take(batches_[ordered_.slotOf(k)]);
                ordered_.taken(k);
            }
        } catch (...) {
            ordered_.stop();
            throw;
        }
    }

    std::exception_ptr failure() { return ordered_.failure(); }

private:
    void handOver() {
        const CheckedBatch& full = batches_[ordered_.slotOf(filling_)];
        const std::uint64_t next = full.first + full.size();
        ordered_.made(filling_);
        ++filling_;
        if (!ordered_.waitToMake(filling_)) throw Stopped{};
        CheckedBatch& fresh = batches_[ordered_.slotOf(filling_)];
        fresh.clear();
        fresh.first = next;
    }

    const MonthNames& months_;
    OrderedSlots ordered_{kSlots};
    std::vector<CheckedBatch> batches_;
    std::uint64_t filling_ = 0;  // the batch the reading thread fills
};

}  // namespace

std::uint32_t checkLine(std::string_view line) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    QuickLine quick;
    if (!readQuickly(line, quick) || !quick.isOthers()) return 0;
    return packedTime(quick.time);
}

void CheckedBatch::add(std::string_view line, const MonthNames& months) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    std::optional<PrefixedLine> prefixed;
    QuickLine quick;
    if (readQuickly(line, quick)) {
        if (quick.isOthers()) {
            checks.push_back(packedTime(quick.time));
            return;
        }
        prefixed = quick.prefixed();
    } else {
        prefixed = readPrefix(line, months, decoded_);
    }
    checks.push_back(0);
    PrefixRead& read = prefixes.emplace_back();
    std::string_view kept = line;
    if (prefixed) {
        read.time = prefixed->time;
        read.pid = prefixed->pid;
        kept = prefixed->message;
        if (prefixed->program == "pppd") {
            read.source = LineSource::Pppd;
        } else if (prefixed->program == "chat") {
            read.source = LineSource::Chat;
        } else if (readMessage(withoutEcho(kept)).kind != PppdMessage::Other) {
            read.source = LineSource::Copy;
        } else {
            read.source = LineSource::Other;
            kept = {};
        }
    }
    text.append(kept);
    ends.push_back(text.size());
}

void CheckedBatch::clear() {
    first = 0;
    checks.clear();
    prefixes.clear();
    text.clear();
    ends.clear();
}

PrintedTime checkedTime(std::uint32_t check) {
    PrintedTime t;
    t.month = static_cast<int>(check >> 22 & 0xf);
    t.day = static_cast<int>(check >> 17 & 0x1f);
    t.hour = static_cast<int>(check >> 12 & 0x1f);
    t.minute = static_cast<int>(check >> 6 & 0x3f);
    t.second = static_cast<int>(check & 0x3f);
    return t;
}

void readCheckedLines(const std::function<void(CheckedLineSink&)>& produce,
                      const std::function<void(const CheckedBatch&)>& consume,
                      const MonthNames& months) {
    BatchQueue queue(months);
    std::thread reading([&queue, &produce] {
        std::exception_ptr failure;
        try {
            produce(queue);
        } catch (const Stopped&) {
        } catch (...) {
            failure = std::current_exception();
        }
        queue.finish(failure);
    });
    try {
        queue.takeAll(consume);
    } catch (...) {
        reading.join();
        throw;
    }
    reading.join();
    if (const std::exception_ptr failure = queue.failure()) std::rethrow_exception(failure);
}

void checkLinesApart(
    std::uint64_t count,
    const std::function<void(CheckedBatch& batch, std::uint64_t first, std::uint64_t last)>& check,
    const std::function<void(const CheckedBatch&)>& consume) {
    // Beside the reader on the calling thread, one thread checks on two
    // processors: a second would only take turns with them (and with the
    // copy of a mapped log's pages, which runs meanwhile).
    const unsigned threads = std::thread::hardware_concurrency() > 2 ? 2 : 1;
    makeInOrder<CheckedBatch>((count + kBatchLines - 1) / kBatchLines, threads, kSlotsApart,
                              [&](CheckedBatch& batch, std::uint64_t k) {
                                  batch.clear();
                                  batch.first = k * kBatchLines;
                                  check(batch, batch.first,
                                        std::min(count, batch.first + kBatchLines));
                              },
                              [&](CheckedBatch& batch) { consume(batch); });
}

bool worthCheckingApart(std::uint64_t lines) {
    return lines >= kBatchLines * 2 && std::thread::hardware_concurrency() >= 2;
}

}  // namespace kestal
