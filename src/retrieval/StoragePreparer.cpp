#include "retrieval/StoragePreparer.h"

#include <algorithm>
#include <limits>

#include "platform/Memory.h"

namespace vantorel {
namespace {

// Tells a waiting helper that it is to stop.
constexpr std::size_t kStopped = std::numeric_limits<std::size_t>::max();

}  // namespace

StoragePreparer::StoragePreparer(char* data, std::size_t size)
    : data_(data), size_(size), helper_([this] { run(); }) {}

StoragePreparer::~StoragePreparer() {
    written_.store(kStopped, std::memory_order_release);
    written_.notify_one();
    // helper_ joins as it is destroyed.
}

void StoragePreparer::wrote(std::size_t count) {
    done_ += count;
    written_.store(done_, std::memory_order_release);
    if (done_ >= nextWake_) {
        nextWake_ = done_ + kStep;
        written_.notify_one();
    }
}

void StoragePreparer::run() {
    std::size_t prepared = 0;
    while (prepared < size_) {
        const std::size_t written = written_.load(std::memory_order_acquire);
        if (written == kStopped) break;
        if (prepared >= written + kLead) {
            written_.wait(written, std::memory_order_acquire);
            continue;
        }
        const std::size_t step = std::min(kStep, size_ - prepared);
        prepareForWriting(data_ + prepared, step);
        prepared += step;
    }
}

}  // namespace vantorel
