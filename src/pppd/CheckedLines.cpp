#include "pppd/CheckedLines.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <exception>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

#include "pppd/PppdMessages.h"
#include "pppd/QuickPrefix.h"

namespace kestal {

namespace {

// A batch is handed over at this many lines or bytes, and at most this many
// wait for the reader: enough to keep both threads busy, little memory.
constexpr std::size_t kBatchLines = 16384;
constexpr std::size_t kBatchBytes = std::size_t{1} << 20;
constexpr std::size_t kMostWaiting = 4;
constexpr std::uint32_t kPassedOver = 1u << 31;

// The reading thread's end of the hand-over; what the reader's side throws
// stops it at its next batch.
struct Stopped {};

std::uint32_t packedTime(const PrintedTime& t) {
    return kPassedOver | static_cast<std::uint32_t>(t.month) << 22 |
           static_cast<std::uint32_t>(t.day) << 17 | static_cast<std::uint32_t>(t.hour) << 12 |
           static_cast<std::uint32_t>(t.minute) << 6 | static_cast<std::uint32_t>(t.second);
}

class BatchQueue : public CheckedLineSink {
public:
    explicit BatchQueue(const MonthNames& months)
        : months_(months), batch_(std::make_unique<CheckedBatch>()) {}

    void add(std::string_view line) override {
        batch_->add(line, months_);
        if (batch_->size() >= kBatchLines || batch_->text.size() >= kBatchBytes) handOver();
    }

    // The reading thread's last batch, and how it ended: the lines read
    // before a failure are read all the same, as they are on one thread.
    void finish(std::exception_ptr failure) {
        try {
            if (batch_->size() > 0) handOver();
        } catch (const Stopped&) {
        } catch (...) {
            if (!failure) failure = std::current_exception();
        }
        const std::lock_guard lock(mutex_);
        done_ = true;
        failure_ = failure;
        changed_.notify_all();
    }

    // The next batch for the reader; none once the reading thread is done.
    std::unique_ptr<CheckedBatch> next() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return !full_.empty() || done_; });
        if (full_.empty()) return nullptr;
        std::unique_ptr<CheckedBatch> batch = std::move(full_.front());
        full_.pop_front();
        changed_.notify_all();
        return batch;
    }

    void giveBack(std::unique_ptr<CheckedBatch> batch) {
        const std::lock_guard lock(mutex_);
        free_.push_back(std::move(batch));
    }

    void stop() {
        const std::lock_guard lock(mutex_);
        stopped_ = true;
        changed_.notify_all();
    }

    std::exception_ptr failure() {
        const std::lock_guard lock(mutex_);
        return failure_;
    }

private:
    void handOver() {
        const std::uint64_t next = batch_->first + batch_->size();
        std::unique_ptr<CheckedBatch> fresh;
        {
            std::unique_lock lock(mutex_);
            changed_.wait(lock, [this] { return full_.size() < kMostWaiting || stopped_; });
            if (stopped_) throw Stopped{};
            full_.push_back(std::move(batch_));
            changed_.notify_all();
            if (!free_.empty()) {
                fresh = std::move(free_.back());
                free_.pop_back();
            }
        }
        if (!fresh) fresh = std::make_unique<CheckedBatch>();
        fresh->clear();
        fresh->first = next;
        batch_ = std::move(fresh);
    }

    const MonthNames& months_;
    std::unique_ptr<CheckedBatch> batch_;  // the one being filled
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::unique_ptr<CheckedBatch>> full_;
    std::vector<std::unique_ptr<CheckedBatch>> free_;
    bool done_ = false;
    bool stopped_ = false;
    std::exception_ptr failure_;
};

}  // namespace

std::uint32_t checkLine(std::string_view line) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    const std::optional<QuickLine> quick = readQuickly(line);
    if (!quick) return 0;
    return packedTime(quick->time);
}

void CheckedBatch::add(std::string_view line, const MonthNames& months) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (const std::optional<QuickLine> quick = readQuickly(line)) {
        checks.push_back(packedTime(quick->time));
        return;
    }
    checks.push_back(0);
    const std::optional<PrefixedLine> prefixed = readPrefix(line, months, decoded_);
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
        while (std::unique_ptr<CheckedBatch> batch = queue.next()) {
            consume(*batch);
            queue.giveBack(std::move(batch));
        }
    } catch (...) {
        queue.stop();
        reading.join();
        throw;
    }
    reading.join();
    if (const std::exception_ptr failure = queue.failure()) std::rethrow_exception(failure);
}

namespace {

// Batches checked on several threads, taken in order: batch k holds lines
// k * kBatchLines on. A thread checks the batches k of its turn, and waits
// while it is too far ahead of the reader.
class OrderedBatches {
public:
    static constexpr std::uint64_t kThreads = 2;

    OrderedBatches(std::uint64_t count,
                   const std::function<void(CheckedBatch&, std::uint64_t, std::uint64_t)>& check)
        : count_(count), batches_((count + kBatchLines - 1) / kBatchLines), check_(check) {}

    void checkTurn(std::uint64_t turn) {
        try {
            for (std::uint64_t k = turn; k < batches_; k += kThreads) {
                std::unique_ptr<CheckedBatch> batch;
                {
                    std::unique_lock lock(mutex_);
                    changed_.wait(lock, [&] { return k < taken_ + kMostAhead || stopped_; });
                    if (stopped_) return;
                    if (!free_.empty()) {
                        batch = std::move(free_.back());
                        free_.pop_back();
                    }
                }
                if (!batch) batch = std::make_unique<CheckedBatch>();
                batch->clear();
                batch->first = k * kBatchLines;
                check_(*batch, batch->first, std::min(count_, batch->first + kBatchLines));
                const std::lock_guard lock(mutex_);
                ready_.emplace(k, std::move(batch));
                changed_.notify_all();
            }
        } catch (...) {
            const std::lock_guard lock(mutex_);
            if (!failure_) failure_ = std::current_exception();
            stopped_ = true;
            changed_.notify_all();
        }
    }

    // The next batch in order; none once all were taken or a thread failed.
    std::unique_ptr<CheckedBatch> next() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock,
                      [&] { return ready_.contains(taken_) || stopped_ || taken_ == batches_; });
        const auto found = ready_.find(taken_);
        if (found == ready_.end()) return nullptr;
        std::unique_ptr<CheckedBatch> batch = std::move(found->second);
        ready_.erase(found);
        return batch;
    }

    void giveBack(std::unique_ptr<CheckedBatch> batch) {
        const std::lock_guard lock(mutex_);
        free_.push_back(std::move(batch));
        ++taken_;
        changed_.notify_all();
    }

    void stop() {
        const std::lock_guard lock(mutex_);
        stopped_ = true;
        changed_.notify_all();
    }

    std::exception_ptr failure() {
        const std::lock_guard lock(mutex_);
        return failure_;
    }

private:
    static constexpr std::uint64_t kMostAhead = kMostWaiting * kThreads;

    const std::uint64_t count_;
    const std::uint64_t batches_;
    const std::function<void(CheckedBatch&, std::uint64_t, std::uint64_t)>& check_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::map<std::uint64_t, std::unique_ptr<CheckedBatch>> ready_;
    std::vector<std::unique_ptr<CheckedBatch>> free_;
    std::uint64_t taken_ = 0;  // batches the reader has read
    bool stopped_ = false;
    std::exception_ptr failure_;
};

}  // namespace

void checkLinesApart(
    std::uint64_t count,
    const std::function<void(CheckedBatch& batch, std::uint64_t first, std::uint64_t last)>& check,
    const std::function<void(const CheckedBatch&)>& consume) {
    OrderedBatches batches(count, check);
    std::vector<std::thread> threads;
    for (std::uint64_t turn = 0; turn < OrderedBatches::kThreads; ++turn)
        threads.emplace_back([&batches, turn] { batches.checkTurn(turn); });
    const auto joinAll = [&threads] {
        for (std::thread& thread : threads) thread.join();
    };
    try {
        while (std::unique_ptr<CheckedBatch> batch = batches.next()) {
            consume(*batch);
            batches.giveBack(std::move(batch));
        }
    } catch (...) {
        batches.stop();
        joinAll();
        throw;
    }
    joinAll();
    if (const std::exception_ptr failure = batches.failure()) std::rethrow_exception(failure);
}

bool worthCheckingApart(std::uint64_t lines) {
    return lines >= kBatchLines * 2 && std::thread::hardware_concurrency() >= 2;
}

}  // namespace kestal
