#pragma once

#include <string>
#include <vector>

namespace vantorel {

// Splits a raw command line into tokens the way the program reads its own:
// blanks and control characters (0x01-0x20) separate tokens, and a pair of
// double quotes standing before a token is skipped. Inside a token a double
// quote opens a quoted part that runs to the next double quote or to the end
// of the line; the quotes are dropped and the token goes on after them.
// There is no escape, so a token never holds a double quote. A token left
// empty at the very end of the line (a lone quote) is not counted.
std::vector<std::string> splitCommandLine(const std::string& line);

// The request handed over on the command line: the token after the program's
// own path, or empty when there is none. POSIX takes argv[1], which the exec
// has already split; Windows splits the process's raw command line.
std::string commandLineRequest(int argc, char** argv);

}  // namespace vantorel
