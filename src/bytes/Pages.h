// Whole pages of memory: their size, rounding up to them, and making them
// present in one call instead of one page fault each.
#pragma once

#include <cstddef>

namespace kestal {

std::size_t pageSize();
std::size_t roundUpToPages(std::size_t bytes);

// Makes the whole pages between begin and end present at once. A system
// without this leaves them to page faults.
void populatePages(const void* begin, const void* end);

// Makes the pages a mapped file's bytes between begin and end lie on present
// at once, for reading.
void populatePagesForReading(const void* begin, const void* end);

// Gives the whole pages between begin and end back to the system: what
// stood there reads as zeros afterwards.
void releasePages(const void* begin, const void* end);

}  // namespace kestal
