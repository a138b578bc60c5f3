// pppd's entries of whole sessions, for the journal files the tests make
// (see journal/JournalFiles.h).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "journal/JournalFiles.h"

namespace kestal::testing {

inline constexpr std::int64_t kJournalSecond = 1'000'000;
// 2026-12-01 10:00:00 UTC.
inline constexpr std::int64_t kDecember1 = 1'796'119'200LL * kJournalSecond;

// One session of pppd process pid, begun at start: dialled by chat,
// connected, ended by the peer a quarter of an hour later.
inline std::vector<TestEntry> sessionEntries(std::int64_t start, const std::string& pid) {
    const std::string chatPid = std::to_string(std::stoll(pid) + 1);
    auto at = [start](int seconds) { return start + seconds * kJournalSecond; };
    return {
        pppdEntry(at(0), "pppd 2.4.9 started by root, uid 0", "pppd", pid),
        pppdEntry(at(1), "send (ATDT*99#^M)", "chat", chatPid),
        pppdEntry(at(2), "Connect: ppp0 <--> /dev/ttyUSB0", "pppd", pid),
        pppdEntry(at(3), "local  IP address 10.0.0.2", "pppd", pid),
        pppdEntry(at(3), "remote IP address 10.0.0.1", "pppd", pid),
        pppdEntry(at(900), "LCP terminated by peer", "pppd", pid),
        pppdEntry(at(901), "Connect time 15.0 minutes.", "pppd", pid),
        pppdEntry(at(901), "Sent 1000 bytes, received 2000 bytes.", "pppd", pid),
        pppdEntry(at(902), "Connection terminated.", "pppd", pid),
        pppdEntry(at(903), "Exit.", "pppd", pid),
    };
}

}  // namespace kestal::testing
