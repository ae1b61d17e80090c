// Writes the request that the program would take from its own command line
// into the file named by VANTOREL_PROBE_OUT, for the Win32 command-line test.
#include <cstdlib>
#include <fstream>

#include "platform/CommandLine.h"

int main(int argc, char** argv) {
    const char* out = std::getenv("VANTOREL_PROBE_OUT");
    if (!out) return 2;
    std::ofstream(out, std::ios::binary) << vantorel::commandLineRequest(argc, argv);
    return 0;
}
