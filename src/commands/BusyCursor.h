// The hourglass for the length of a scope, also when a command fails.
#pragma once

#include "platform/Platform.h"

namespace kestal {

class BusyCursor {
public:
    explicit BusyCursor(Platform& platform) : platform_(platform) { platform_.setBusyCursor(true); }
    ~BusyCursor() { restore(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

    // The normal cursor again now, before the scope ends.
    void restore() {
        if (busy_) platform_.setBusyCursor(false);
        busy_ = false;
    }

private:
    Platform& platform_;
    bool busy_ = true;
};

}  // namespace kestal
