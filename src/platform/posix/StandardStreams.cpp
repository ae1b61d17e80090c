#include "../StandardStreams.h"

namespace vantorel {

void useBinaryStandardStreams() {}

}  // namespace vantorel
