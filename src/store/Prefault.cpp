#include "store/Prefault.h"

#include <cstdint>

#ifdef __linux__
#include <sys/mman.h>
#include <unistd.h>
#endif

void prefault(void *data, std::size_t bytes)
{
#ifdef __linux__
    // Linux 5.14 and later; an older kernel refuses it, which costs nothing.
    constexpr int PopulateWrite = 23;   // MADV_POPULATE_WRITE
    static const std::uintptr_t page = std::uintptr_t(sysconf(_SC_PAGESIZE));
    // Only whole pages inside the buffer: small buffers are not worth a call.
    const std::uintptr_t first = (std::uintptr_t(data) + page - 1) & ~(page - 1);
    const std::uintptr_t end = (std::uintptr_t(data) + bytes) & ~(page - 1);
    if (end > first && end - first >= 16 * page)
        madvise(reinterpret_cast<void *>(first), end - first, PopulateWrite);
#else
    (void)data;
    (void)bytes;
#endif
}
