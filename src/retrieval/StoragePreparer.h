#pragma once

#include <atomic>
#include <cstddef>
#include <thread>

namespace vantorel {

// Backs the storage of a large body with memory on a helper thread, a little
// ahead of the bytes being written into it. Fresh memory is otherwise faulted
// in a page at a time by the copy that first reaches it, which for a body of
// hundreds of megabytes costs more than receiving it. The helper never reads
// or writes the contents and is joined when the preparer goes, so the storage
// only has to outlive the preparer.
class StoragePreparer {
public:
    StoragePreparer(char* data, std::size_t size);
    ~StoragePreparer();
    StoragePreparer(const StoragePreparer&) = delete;
    StoragePreparer& operator=(const StoragePreparer&) = delete;

    // `count` more bytes have been written, in order from the start.
    void wrote(std::size_t count);

    // The most the helper prepares ahead of the written bytes, and the size of
    // one preparation: small next to a large body, large next to a page.
    static constexpr std::size_t kLead = 32 << 20;
    static constexpr std::size_t kStep = 8 << 20;

private:
    void run();

    char* const data_;
    const std::size_t size_;
    std::atomic<std::size_t> written_{0};  // as far as the helper knows
    std::size_t done_ = 0;                 // the owner's own count
    std::size_t nextWake_ = kStep;         // the owner wakes the helper once per step
    std::jthread helper_;                  // last: it starts once the rest is set
};

}  // namespace vantorel
