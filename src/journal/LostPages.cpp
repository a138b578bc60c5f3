#include "journal/LostPages.h"

#include <sys/mman.h>
#include <unistd.h>

#include <csignal>
#include <cstdint>
#include <mutex>

namespace kestal {

namespace {

// Read in the signal handler, which runs on the thread that faulted.
thread_local volatile std::sig_atomic_t watching = 0;
thread_local volatile std::sig_atomic_t lost = 0;

struct sigaction previousAction {};
std::uintptr_t pageSize = 4096;

void onBusError(int, siginfo_t* info, void*) {
    if (watching != 0 && info != nullptr && info->si_addr != nullptr) {
        const std::uintptr_t page =
            reinterpret_cast<std::uintptr_t>(info->si_addr) & ~(pageSize - 1);
        void* const at = reinterpret_cast<void*>(page);
        if (::mmap(at, pageSize, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0) == at) {
            lost = 1;
            return;
        }
    }
    // Not the library's read: the fault comes again under the action the
    // program had before.
    ::sigaction(SIGBUS, &previousAction, nullptr);
}

void install() {
    pageSize = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
    struct sigaction action {};
    action.sa_sigaction = onBusError;
    action.sa_flags = SA_SIGINFO;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGBUS, &action, &previousAction);
}

}  // namespace

LostPages::LostPages() {
    static std::once_flag installed;
    std::call_once(installed, install);
    lost = 0;
    watching = 1;
}

LostPages::~LostPages() { watching = 0; }

bool LostPages::any() const { return lost != 0; }

}  // namespace kestal
