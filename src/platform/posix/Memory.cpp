#include "platform/Memory.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>

#ifndef MADV_POPULATE_WRITE
#define MADV_POPULATE_WRITE 23  // Linux 5.14; older kernels refuse it, which is harmless
#endif

namespace vantorel {

void prepareForWriting(char* data, std::size_t size) {
    static const auto pageSize = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
    // madvise works on whole pages; the partial pages at either end are left
    // to fault in as usual.
    const auto begin = (reinterpret_cast<std::uintptr_t>(data) + pageSize - 1) & ~(pageSize - 1);
    const auto end = (reinterpret_cast<std::uintptr_t>(data) + size) & ~(pageSize - 1);
    if (end <= begin) return;
    void* const range = reinterpret_cast<void*>(begin);
    const std::size_t length = end - begin;
    ::madvise(range, length, MADV_POPULATE_WRITE);
}

bool canPrepareForWriting() {
    // An empty range still has its advice checked: older kernels refuse it.
    static const bool known = ::madvise(nullptr, 0, MADV_POPULATE_WRITE) == 0;
    return known;
}

}  // namespace vantorel
