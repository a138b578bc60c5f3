// Two pieces of work at once, on two threads.
#pragma once

#include <exception>
#include <system_error>
#include <thread>

namespace kestal {

// Runs later on a second thread while now runs on this one, and returns once
// both are done. When no second thread can start, later runs on this one
// first. What later throws is thrown here once now is done too; what now
// throws, once later is.
template <typename Later, typename Now>
void runSideBySide(Later&& later, Now&& now) {
    std::exception_ptr laterFailure;
    const auto guardedLater = [&later, &laterFailure] {
        try {
            later();
        } catch (...) {
            laterFailure = std::current_exception();
        }
    };
    {
        std::jthread second;
        try {
            second = std::jthread(guardedLater);
        } catch (const std::system_error&) {
            guardedLater();
        }
        now();
    }
    if (laterFailure) std::rethrow_exception(laterFailure);
}

}  // namespace kestal
