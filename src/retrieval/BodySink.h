#pragma once

#include <cstddef>
#include <functional>

namespace vantorel {

// Takes a reply body block by block, in order, as it arrives. A sink that
// throws ends the request; the connection is then not reused.
using BodySink = std::function<void(const char* data, std::size_t size)>;

}  // namespace vantorel
