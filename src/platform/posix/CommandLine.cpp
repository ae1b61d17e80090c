#include "../CommandLine.h"

namespace vantorel {

std::string commandLineRequest(int argc, char** argv) {
    return argc > 1 && argv[1] ? argv[1] : std::string();
}

}  // namespace vantorel
