#include "../StandardStreams.h"

#include <fcntl.h>
#include <io.h>

#include <cstdio>

namespace vantorel {

void useBinaryStandardStreams() {
    std::fflush(stdout);
    std::fflush(stderr);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
}

}  // namespace vantorel
