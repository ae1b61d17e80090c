// Replaces the global operator new and delete of the test program to count
// the bytes held; each block carries its size in front of it.
#include "AllocationMeter.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<std::size_t> held{0};
std::atomic<std::size_t> highest{0};
constexpr std::size_t kHeader = alignof(std::max_align_t);

}  // namespace

void* operator new(std::size_t size) {
    auto* block = static_cast<unsigned char*>(std::malloc(size + kHeader));
    if (block == nullptr) throw std::bad_alloc();
    *reinterpret_cast<std::size_t*>(block) = size;
    const std::size_t now = held += size;
    for (std::size_t top = highest; now > top && !highest.compare_exchange_weak(top, now);) {
    }
    return block + kHeader;
}

void operator delete(void* pointer) noexcept {
    if (pointer == nullptr) return;
    auto* block = static_cast<unsigned char*>(pointer) - kHeader;
    held -= *reinterpret_cast<std::size_t*>(block);
    std::free(block);
}

void operator delete(void* pointer, std::size_t) noexcept {
    operator delete(pointer);
}
void* operator new[](std::size_t size) {
    return operator new(size);
}
void operator delete[](void* pointer) noexcept {
    operator delete(pointer);
}
void operator delete[](void* pointer, std::size_t) noexcept {
    operator delete(pointer);
}

namespace vantorel::test {

AllocationMeter::AllocationMeter() : start_(held) {
    highest = start_;
}

std::size_t AllocationMeter::peak() const {
    return highest - start_;
}

}  // namespace vantorel::test
