#include "lines/InOrder.h"

#include <thread>

namespace kestal {

OrderedSlots::OrderedSlots(std::size_t slotCount) : made_(slotCount, 0) {}

bool OrderedSlots::waitToMake(std::uint64_t batch) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return batch < taken_ + made_.size() || stopped_; });
    return !stopped_;
}

void OrderedSlots::made(std::uint64_t batch) {
    const std::lock_guard lock(mutex_);
    made_[slotOf(batch)] = batch + 1;
    changed_.notify_all();
}

void OrderedSlots::fail(std::exception_ptr failure) {
    const std::lock_guard lock(mutex_);
    if (!failure_) failure_ = failure;
    stopped_ = true;
    changed_.notify_all();
}

void OrderedSlots::end(std::uint64_t count, std::exception_ptr failure) {
    const std::lock_guard lock(mutex_);
    end_ = count;
    if (!failure_) failure_ = failure;
    changed_.notify_all();
}

bool OrderedSlots::waitToTake(std::uint64_t batch) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock,
                  [&] { return made_[slotOf(batch)] == batch + 1 || stopped_ || batch >= end_; });
    return made_[slotOf(batch)] == batch + 1 && !stopped_;
}

void OrderedSlots::taken(std::uint64_t batch) {
    const std::lock_guard lock(mutex_);
    taken_ = batch + 1;
    changed_.notify_all();
}

void OrderedSlots::stop() {
    const std::lock_guard lock(mutex_);
    stopped_ = true;
    changed_.notify_all();
}

std::exception_ptr OrderedSlots::failure() {
    const std::lock_guard lock(mutex_);
    return failure_;
}

void makeInOrder(std::uint64_t count, unsigned threads, std::size_t slotCount,
                 const std::function<void(std::size_t slot, std::uint64_t batch)>& make,
                 const std::function<void(std::size_t slot, std::uint64_t batch)>& take) {
    OrderedSlots ordered(slotCount);
    ordered.end(count);
    std::vector<std::thread> making;
    for (unsigned turn = 0; turn < threads; ++turn) {
        making.emplace_back([&, turn] {
            for (std::uint64_t batch = turn; batch < count; batch += threads) {
                if (!ordered.waitToMake(batch)) return;
                try {
                    make(ordered.slotOf(batch), batch);
                } catch (...) {
                    ordered.fail(std::current_exception());
                    return;
                }
                ordered.made(batch);
            }
        });
    }
    const auto joinAll = [&making] {
        for (std::thread& thread : making) thread.join();
    };
    try {
        for (std::uint64_t batch = 0; ordered.waitToTake(batch); ++batch) {
            take(ordered.slotOf(batch), batch);
            ordered.taken(batch);
        }
    } catch (...) {
        ordered.stop();
        joinAll();
        throw;
    }
    joinAll();
    if (const std::exception_ptr failure = ordered.failure()) std::rethrow_exception(failure);
}

}  // namespace kestal
