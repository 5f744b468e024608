#include "platform/files/MemoryHints.h"

#include <cstdint>
#include <sys/mman.h>
#include <unistd.h>

namespace ravik::MemoryHints {

void expectLargeFill(void* buffer, std::size_t bytes) {
#ifdef MADV_HUGEPAGE
    constexpr std::size_t kWorthIt = std::size_t(4) << 20;
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

} // namespace ravik::MemoryHints
