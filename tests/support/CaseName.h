#pragma once

#include <cctype>
#include <cstddef>
#include <string>
#include <string_view>

namespace vantorel::test {

// A parameterised case's name as gtest accepts it and ctest -R can be given
// back: its position, then the letters and digits of `text` (every other run
// of bytes becomes one underscore), kept short.
inline std::string caseName(std::size_t index, std::string_view text = {}) {
    std::string name = std::to_string(index) + "_";
    for (const char c : text) {
        if (name.size() >= 48) break;
        if (std::isalnum(static_cast<unsigned char>(c)))
            name += c;
        else if (name.back() != '_')
            name += '_';
    }
    while (name.back() == '_') name.pop_back();
    return name;
}

}  // namespace vantorel::test
