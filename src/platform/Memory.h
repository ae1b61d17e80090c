#pragma once

#include <cstddef>

namespace vantorel {

// Asks the system to back [data, data + size) with memory now, because the
// range is about to be written in full: one call takes the pages far more
// cheaply than one fault per page as the writes reach them. Only a hint: the
// contents do not change, and nothing happens where the system cannot do it.
void prepareForWriting(char* data, std::size_t size);

// Whether prepareForWriting does anything here, so callers can skip the work
// of arranging for it.
bool canPrepareForWriting();

}  // namespace vantorel
