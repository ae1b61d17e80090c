#include "../PrivateProfile.h"

#include <windows.h>

namespace vantorel {

std::string PrivateProfile::readString(const std::string& section, const std::string& key,
                                       const std::string& defaultValue, const std::string& file) {
    // The platform's reader trims blanks and one pair of quotes; a buffer of
    // 2048 bytes holds the longest value the program reads, plus its NUL.
    char buffer[kMaxValueLength + 1];
    const DWORD length = GetPrivateProfileStringA(
        section.c_str(), key.c_str(), defaultValue.c_str(), buffer, sizeof buffer, file.c_str());
    return std::string(buffer, length < sizeof buffer ? length : kMaxValueLength);
}

bool PrivateProfile::writeString(const std::string& section, const std::string& key,
                                 const std::string& value, const std::string& file) {
    if (holdsLineBreak(section) || holdsLineBreak(key) || holdsLineBreak(value)) return false;
    return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), file.c_str()) !=
           0;
}

}  // namespace vantorel
