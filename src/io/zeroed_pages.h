#pragma once

#include <cstddef>

namespace morvane {

// Memory for the program's large fixed records (the document of 128 rooms, the level record),
// tens of megabytes of which only the part in use is ever written. A fresh page costs the first
// time it is written, which on a virtual machine or a loaded desktop adds up to a tenth of a
// second for each such record: these functions leave the zero pages that nobody writes
// untouched, so that they cost neither time nor resident memory.

// `bytes` of zero bytes, whose pages are mapped only when first written. Throws std::bad_alloc.
void* AllocateZeroedPages(std::size_t bytes);
// Gives back memory from AllocateZeroedPages (the same size) to the system at once.
void FreeZeroedPages(void* memory, std::size_t bytes) noexcept;

// Sets `bytes` bytes at `memory` to zero. Whole pages that are in memory are written, so that a
// record cleared to be filled again keeps them; those that are not (never written, or swapped
// out) are handed back to the system rather than brought in, so that clearing a record that was
// never used costs nothing. The memory must be the program's own private memory (heap, stack or
// AllocateZeroedPages), as every record is.
void ZeroBytes(void* memory, std::size_t bytes) noexcept;

} // namespace morvane
