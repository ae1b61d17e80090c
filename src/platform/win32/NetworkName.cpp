#include "platform/NetworkName.h"

#include <windows.h>
#include <winnetwk.h>

#include <array>

namespace vantorel {
namespace {

bool isDrivePath(const std::string& path) {
    if (path.size() < 3 || path[1] != ':') return false;
    const char letter = path[0];
    return (letter >= 'A' && letter <= 'Z') || (letter >= 'a' && letter <= 'z');
}

std::string universalName(const std::string& fullPath) {
    if (!isDrivePath(fullPath)) return fullPath;
    // The answer is a UNIVERSAL_NAME_INFOA followed by the text it points into.
    alignas(UNIVERSAL_NAME_INFOA) std::array<char, 1024> buffer{};
    DWORD size = static_cast<DWORD>(buffer.size());
    if (WNetGetUniversalNameA(fullPath.c_str(), UNIVERSAL_NAME_INFO_LEVEL, buffer.data(), &size) !=
        NO_ERROR)
        return fullPath;  // a local drive, a disconnected one, or a name too long
    const auto* info = reinterpret_cast<const UNIVERSAL_NAME_INFOA*>(buffer.data());
    if (!info->lpUniversalName) return fullPath;
    return info->lpUniversalName;
}

}  // namespace

NetworkNameLookup systemNetworkNames() {
    return &universalName;
}

}  // namespace vantorel
