#include "platform/Memory.h"

namespace vantorel {

// Windows commits the pages of a large allocation as they are touched and has
// no cheaper way for ordinary memory, so there is nothing to ask for.
void prepareForWriting(char*, std::size_t) {}

bool canPrepareForWriting() {
    return false;
}

}  // namespace vantorel
