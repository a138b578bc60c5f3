// Work cut into batches 0, 1, 2 … made on threads of their own and taken
// in order on the calling thread. Each batch is made into one of a few
// slots, used again in turn: the threads that make batches never run more
// than a slot count ahead of the one that takes them, and a slot's memory
// serves batch after batch.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <exception>
#include <functional>
#include <mutex>
#include <vector>

namespace kestal {

// The hand-over of the batches between the threads.
class OrderedSlots {
public:
    explicit OrderedSlots(std::size_t slotCount);

    std::size_t slotOf(std::uint64_t batch) const { return batch % made_.size(); }

    // The making side. Waits until the batch's slot is free; false once the
    // taking side stopped or a thread failed.
    bool waitToMake(std::uint64_t batch);
    void made(std::uint64_t batch);
    // A failure while making: the batches after it are not taken, and the
    // caller's takeInOrder hands it on.
    void fail(std::exception_ptr failure);
    // No batch from count on, and why (none: there are no more). The
    // batches before count are still taken.
    void end(std::uint64_t count, std::exception_ptr failure = nullptr);

    // The taking side. Waits until the batch is made; false when there is
    // none (the end, a failure, or stop()).
    bool waitToTake(std::uint64_t batch);
    void taken(std::uint64_t batch);
    void stop();

    std::exception_ptr failure();

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::uint64_t> made_;  // per slot, 1 + the batch made into it
    std::uint64_t taken_ = 0;          // batches taken so far
    std::uint64_t end_ = UINT64_MAX;
    bool stopped_ = false;
    std::exception_ptr failure_;
};

// Makes batches 0 to count - 1 on threads of their own, make(slot, batch),
// and takes them in order on the calling thread, take(slot, batch). Returns
// once all are taken; what either throws is thrown here once every thread
// has stopped.
void makeInOrder(std::uint64_t count, unsigned threads, std::size_t slotCount,
                 const std::function<void(std::size_t slot, std::uint64_t batch)>& make,
                 const std::function<void(std::size_t slot, std::uint64_t batch)>& take);

// The same with the slots held here, one Batch each.
template <typename Batch>
void makeInOrder(std::uint64_t count, unsigned threads, std::size_t slotCount,
                 const std::function<void(Batch&, std::uint64_t batch)>& make,
                 const std::function<void(Batch&)>& take) {
    std::vector<Batch> held(slotCount);
    makeInOrder(
        count, threads, slotCount,
        [&](std::size_t slot, std::uint64_t batch) { make(held[slot], batch); },
        [&](std::size_t slot, std::uint64_t) { take(held[slot]); });
}

}  // namespace kestal
