// Whole pages of memory: their size, rounding up to them, mapping, growing
// and moving them, making them present in one call instead of one page
// fault each, and giving them back.
#pragma once

#include <cstddef>

namespace kestal {

std::size_t pageSize();
std::size_t roundUpToPages(std::size_t bytes);

// length bytes (whole pages) of memory of the program's own, read-write,
// zeros until written; nullptr when there is none.
char* mapPages(std::size_t length);
// The pages at mapping (length bytes) grown to newLength, in place or moved
// (their page tables, not their bytes); nullptr when they can't be, the old
// ones kept.
char* growPages(char* mapping, std::size_t length, std::size_t newLength);
// Puts the pages at from in place of those at to (length bytes each) in one
// step: a thread reading at to meanwhile finds the ones or the others.
// False when it can't, both kept.
bool movePages(char* from, std::size_t length, char* to);
// Unmaps the pages at mapping (length bytes).
void unmapPages(void* mapping, std::size_t length);

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
