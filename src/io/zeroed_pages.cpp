#include "io/zeroed_pages.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>

#include <sys/mman.h>
#include <unistd.h>

namespace morvane {

namespace {

std::size_t PageSize() {
    static const std::size_t size = [] {
        const long page = sysconf(_SC_PAGESIZE);
        return page > 0 ? static_cast<std::size_t>(page) : std::size_t{4096};
    }();
    return size;
}

} // namespace

void* AllocateZeroedPages(std::size_t bytes) {
    void* memory = mmap(nullptr, bytes == 0 ? 1 : bytes, PROT_READ | PROT_WRITE,
                        MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (memory == MAP_FAILED) {
        throw std::bad_alloc();
    }
    return memory;
}

void FreeZeroedPages(void* memory, std::size_t bytes) noexcept {
    if (memory != nullptr) {
        munmap(memory, bytes == 0 ? 1 : bytes);
    }
}

void ZeroBytes(void* memory, std::size_t bytes) noexcept {
    auto* begin = static_cast<uint8_t*>(memory);
    uint8_t* const end = begin + bytes;
    const std::size_t page = PageSize();
    auto* firstPage = reinterpret_cast<uint8_t*>(
        (reinterpret_cast<std::uintptr_t>(begin) + page - 1) / page * page);
    auto* lastPage =
        reinterpret_cast<uint8_t*>(reinterpret_cast<std::uintptr_t>(end) / page * page);
    // A few pages are cheaper to write than to look at.
    if (lastPage <= firstPage || std::size_t(lastPage - firstPage) < 16 * page) {
        std::memset(begin, 0, bytes);
        return;
    }
    std::memset(begin, 0, std::size_t(firstPage - begin));
    std::memset(lastPage, 0, std::size_t(end - lastPage));
    // Pages in memory are written (a record cleared to be filled again keeps them); the others,
    // never written or swapped out, are handed back and read as zero from then on.
    constexpr std::size_t ChunkPages = 4096;
    unsigned char resident[ChunkPages];
    for (uint8_t* chunk = firstPage; chunk < lastPage; chunk += ChunkPages * page) {
        const std::size_t pages = std::min(ChunkPages, std::size_t(lastPage - chunk) / page);
        if (mincore(chunk, pages * page, resident) != 0) {
            std::memset(chunk, 0, pages * page);
            continue;
        }
        for (std::size_t run = 0; run < pages;) {
            const bool inMemory = resident[run] & 1;
            std::size_t next = run + 1;
            while (next < pages && bool(resident[next] & 1) == inMemory) {
                ++next;
            }
            uint8_t* from = chunk + run * page;
            const std::size_t length = (next - run) * page;
            if (inMemory || madvise(from, length, MADV_DONTNEED) != 0) {
                std::memset(from, 0, length);
            }
            run = next;
        }
    }
}

} // namespace morvane
