#pragma once

#include <string>
#include <string_view>

namespace vantorel {

// Windows private-profile (INI) access: section and key names compare without
// regard to case; a read value loses its surrounding blanks and one pair of
// enclosing quotes and is cut to 2047 bytes; writes are plain and keep every
// other section, key and line where it stands.
class PrivateProfile {
public:
    static constexpr std::size_t kMaxValueLength = 2047;

    static std::string readString(const std::string& section, const std::string& key,
                                  const std::string& defaultValue, const std::string& file);
    // Creates the file, section and key as needed. False when the file cannot
    // be written, and also when the section, key or value holds CR or LF:
    // those would add lines, sections or keys of their own, so the file is
    // left as it was.
    static bool writeString(const std::string& section, const std::string& key,
                            const std::string& value, const std::string& file);

    static bool holdsLineBreak(std::string_view text) {
        return text.find_first_of("\r\n") != std::string_view::npos;
    }
};

}  // namespace vantorel
