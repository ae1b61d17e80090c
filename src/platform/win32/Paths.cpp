#include "../Paths.h"

#include <windows.h>

#include <cstdlib>
#include <vector>

namespace vantorel {

std::string userConfigFolder() {
    if (const char* appData = std::getenv("APPDATA"); appData && *appData)
        return std::string(appData) + "\\Vantorel";
    return currentDirectory() + "\\Vantorel";
}

std::string currentDirectory() {
    const DWORD needed = GetCurrentDirectoryA(0, nullptr);
    if (needed == 0) return {};
    std::vector<char> buffer(needed + 1);
    const DWORD length = GetCurrentDirectoryA(static_cast<DWORD>(buffer.size()), buffer.data());
    if (length == 0 || length >= buffer.size()) return {};
    return std::string(buffer.data(), length);
}

bool setCurrentDirectory(const std::string& path) {
    return SetCurrentDirectoryA(path.c_str()) != 0;
}

std::string fullPath(const std::string& path) {
    if (path.empty()) return {};
    DWORD size = MAX_PATH;
    for (int attempt = 0; attempt < 4; ++attempt) {
        std::vector<char> buffer(size);
        const DWORD length = GetFullPathNameA(path.c_str(), size, buffer.data(), nullptr);
        if (length == 0) return path;
        if (length < size) return std::string(buffer.data(), length);
        size = length + 1;  // the buffer was short: the call told the size it needs
    }
    return path;
}

}  // namespace vantorel
