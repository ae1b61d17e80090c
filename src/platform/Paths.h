#pragma once

#include <string>

namespace vantorel {

// The separator used when folders are joined with file names. Folder strings
// meant for joining end in it (PatentPath does; InstallPath does not).
#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

inline std::string joinPath(const std::string& folder, const std::string& name) {
    return folder + kPathSeparator + name;
}

// Per-user configuration folder ($XDG_CONFIG_HOME/vantorel or ~/.config/vantorel).
std::string userConfigFolder();

// The process working directory, and changing it (false when refused).
std::string currentDirectory();
bool setCurrentDirectory(const std::string& path);

// Expands a path against the working directory; an empty path stays empty.
std::string fullPath(const std::string& path);

}  // namespace vantorel
