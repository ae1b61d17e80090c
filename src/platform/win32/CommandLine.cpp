#include "../CommandLine.h"

#include <windows.h>

namespace vantorel {

std::string commandLineRequest(int, char**) {
    // The C runtime's argv follows other quoting rules; the request is read
    // from the raw line by the program's own.
    const char* line = GetCommandLineA();
    const auto tokens = splitCommandLine(line ? line : "");
    return tokens.size() > 1 ? tokens[1] : std::string();
}

}  // namespace vantorel
