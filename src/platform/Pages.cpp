// Whole pages of memory, through the system's mapping calls.
#include "platform/Pages.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>

namespace kestal {

std::size_t pageSize() {
    static const auto page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
    return page;
}

std::size_t roundUpToPages(std::size_t bytes) {
    return (bytes + pageSize() - 1) / pageSize() * pageSize();
}

char* mapPages(std::size_t length) {
    void* const mapping =
        ::mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    return mapping == MAP_FAILED ? nullptr : static_cast<char*>(mapping);
}

char* growPages(char* mapping, std::size_t length, std::size_t newLength) {
    void* const grown = ::mremap(mapping, length, newLength, MREMAP_MAYMOVE);
    return grown == MAP_FAILED ? nullptr : static_cast<char*>(grown);
}

bool movePages(char* from, std::size_t length, char* to) {
    return ::mremap(from, length, length, MREMAP_MAYMOVE | MREMAP_FIXED, to) != MAP_FAILED;
}

void unmapPages(void* mapping, std::size_t length) { ::munmap(mapping, length); }

void populatePages(const void* begin, const void* end) {
#if defined(MADV_POPULATE_WRITE)
    const std::uintptr_t first = roundUpToPages(reinterpret_cast<std::uintptr_t>(begin));
    const std::uintptr_t last = reinterpret_cast<std::uintptr_t>(end) / pageSize() * pageSize();
    if (first < last) ::madvise(reinterpret_cast<void*>(first), last - first, MADV_POPULATE_WRITE);
#else
    (void)begin;
    (void)end;
#endif
}

void populatePagesForReading(const void* begin, const void* end) {
#if defined(MADV_POPULATE_READ)
    const std::uintptr_t first = reinterpret_cast<std::uintptr_t>(begin) / pageSize() * pageSize();
    const std::uintptr_t last = roundUpToPages(reinterpret_cast<std::uintptr_t>(end));
    if (first < last) ::madvise(reinterpret_cast<void*>(first), last - first, MADV_POPULATE_READ);
#else
    (void)begin;
    (void)end;
#endif
}

void releasePages(const void* begin, const void* end) {
    const std::uintptr_t first = roundUpToPages(reinterpret_cast<std::uintptr_t>(begin));
    const std::uintptr_t last = reinterpret_cast<std::uintptr_t>(end) / pageSize() * pageSize();
    if (first < last) ::madvise(reinterpret_cast<void*>(first), last - first, MADV_DONTNEED);
}

}  // namespace kestal
