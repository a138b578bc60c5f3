#include "pppd/CheckedLines.h"

#include <condition_variable>
#include <deque>
#include <exception>
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

bool worthCheckingApart(std::uint64_t lines) {
    return lines >= kBatchLines * 2 && std::thread::hardware_concurrency() >= 2;
}

}  // namespace kestal
