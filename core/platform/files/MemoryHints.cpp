#include "core/platform/files/MemoryHints.h"

#include <cstdint>
#include <cstdlib>
#include <new>
#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

namespace ravik::MemoryHints {

void expectLargeFill(void* buffer, std::size_t bytes) {
#ifdef MADV_HUGEPAGE
    constexpr std::size_t kWorthIt = std::size_t(2) << 20; // one huge page
    if (!buffer || bytes < kWorthIt)
        return;
    const auto page = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
    const auto address = reinterpret_cast<std::uintptr_t>(buffer);
    const std::uintptr_t begin = (address + page - 1) & ~(page - 1);
    const std::uintptr_t end = (address + bytes) & ~(page - 1);
    if (end > begin)
        ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
#else
    (void)buffer;
    (void)bytes;
#endif
}

void configureAllocator() {
#ifdef M_MMAP_THRESHOLD
    // A fixed threshold also stops glibc from raising it after the first large free,
    // which would keep every later file buffer in the heap for good.
    ::mallopt(M_MMAP_THRESHOLD, 1 << 20);
    ::mallopt(M_TRIM_THRESHOLD, 8 << 20);
#endif
}

void ensureAvailable(std::size_t bytes) {
    void* probe = std::malloc(bytes);
    if (!probe)
        throw std::bad_alloc();
    std::free(probe);
}

} // namespace ravik::MemoryHints
