#pragma once

#include <string>

namespace vantorel {

// The values other parts of the program read; the Settings tab's change
// handlers keep the first three equal to what the tab shows.
struct CurrentSettings {
    std::string UserLogin;
    std::string UserPassword;
    std::string PatentPath;   // ends in the path separator
    std::string InstallPath;  // no trailing separator
};

}  // namespace vantorel
