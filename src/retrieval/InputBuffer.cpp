#include "retrieval/InputBuffer.h"

#include <cstring>

namespace vantorel {

char* InputBuffer::prepare(std::size_t capacity) {
    if (storage_.size() - end_ < capacity) storage_.resize(end_ + capacity);
    return storage_.data() + end_;
}

void InputBuffer::consume(std::size_t count) {
    start_ += count < size() ? count : size();
    if (start_ == end_) {
        clear();
    } else if (start_ >= kBlockSize) {
        std::memmove(storage_.data(), storage_.data() + start_, end_ - start_);
        end_ -= start_;
        start_ = 0;
    }
}

}  // namespace vantorel
