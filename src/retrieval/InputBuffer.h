#pragma once

#include <cstddef>
#include <vector>

namespace vantorel {

// Bytes received but not yet consumed. Consumed bytes are not moved out at
// once: a read offset advances, and the unread rest moves to the front only
// after a full receive block has been consumed (or the buffer empties itself
// when everything has been consumed), so a body passes through in O(n).
class InputBuffer {
public:
    static constexpr std::size_t kBlockSize = 32768;

    const char* data() const { return storage_.data() + start_; }
    std::size_t size() const { return end_ - start_; }
    bool empty() const { return start_ == end_; }

    // Room for `capacity` more bytes at the end; commit() what was written there.
    char* prepare(std::size_t capacity);
    void commit(std::size_t count) { end_ += count; }

    void consume(std::size_t count);
    void clear() { start_ = end_ = 0; }

private:
    std::vector<char> storage_;
    std::size_t start_ = 0;
    std::size_t end_ = 0;
};

}  // namespace vantorel
