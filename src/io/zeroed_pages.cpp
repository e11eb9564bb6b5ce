#include "io/zeroed_pages.h"

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
    // A few pages are cheaper to write than to give back.
    if (lastPage <= firstPage || std::size_t(lastPage - firstPage) < 16 * page ||
        madvise(firstPage, std::size_t(lastPage - firstPage), MADV_DONTNEED) != 0) {
        std::memset(begin, 0, bytes);
        return;
    }
    std::memset(begin, 0, std::size_t(firstPage - begin));
    std::memset(lastPage, 0, std::size_t(end - lastPage));
}

} // namespace morvane
