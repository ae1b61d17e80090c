#include "retrieval/StoragePreparer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace vantorel {
namespace {

// Bytes that differ from block to block, so a lost or moved block shows.
char patternAt(std::size_t offset) {
    return static_cast<char>((offset * 131 + offset / 4096) & 0xff);
}

TEST(StoragePreparer, LeavesWhatIsWrittenAlone) {
    const std::size_t size = 3 * StoragePreparer::kLead + 12345;
    std::string storage;
    storage.reserve(size);
    {
        StoragePreparer preparer(storage.data(), size);
        std::string block(32768, '\0');
        for (std::size_t done = 0; done < size;) {
            const std::size_t count = std::min(block.size(), size - done);
            for (std::size_t i = 0; i < count; ++i) block[i] = patternAt(done + i);
            storage.append(block.data(), count);
            preparer.wrote(count);
            done += count;
        }
    }
    ASSERT_EQ(storage.size(), size);
    for (std::size_t i = 0; i < size; i += 997) ASSERT_EQ(storage[i], patternAt(i)) << i;
}

TEST(StoragePreparer, StopsWhenTheWritingEndsEarly) {
    // A body cut short: the helper is left waiting ahead of the bytes, and
    // going out of scope must end it rather than hang.
    const std::size_t size = 8 * StoragePreparer::kLead;
    std::string storage;
    storage.reserve(size);
    for (const std::size_t written : {std::size_t{0}, std::size_t{1000}, size / 2}) {
        StoragePreparer preparer(storage.data(), size);
        if (written > 0) preparer.wrote(written);
    }
    StoragePreparer empty(nullptr, 0);
}

}  // namespace
}  // namespace vantorel
