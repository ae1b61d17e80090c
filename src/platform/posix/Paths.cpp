#include "../Paths.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <vector>

namespace vantorel {

std::string userConfigFolder() {
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg)
        return std::string(xdg) + "/vantorel";
    const char* home = std::getenv("HOME");
    return std::string(home && *home ? home : ".") + "/.config/vantorel";
}

std::string currentDirectory() {
    std::vector<char> buffer(4096);
    if (!getcwd(buffer.data(), buffer.size())) return {};
    return buffer.data();
}

bool setCurrentDirectory(const std::string& path) { return chdir(path.c_str()) == 0; }

std::string fullPath(const std::string& path) {
    if (path.empty()) return {};
    std::filesystem::path p(path);
    if (p.is_relative()) p = std::filesystem::path(currentDirectory()) / p;
    std::string text = p.lexically_normal().string();
    // Keep the root, drop a trailing separator elsewhere, as the Windows call does.
    if (text.size() > 1 && text.back() == '/') text.pop_back();
    return text;
}

}  // namespace vantorel
