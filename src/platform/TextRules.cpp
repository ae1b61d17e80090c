#include "TextRules.h"

#include <cmath>
#include <limits>

namespace vantorel {

bool holdsLineBreak(std::string_view text) {
    return text.find_first_of("\r\n") != std::string_view::npos;
}

std::string firstLine(std::string_view text) {
    return std::string(text.substr(0, text.find_first_of("\r\n")));
}

std::string withLineBreaks(std::string_view text, std::string_view lineBreak) {
    std::string shown;
    shown.reserve(text.size() + 8);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '\n' && c != '\r') {
            shown += c;
            continue;
        }
        // A break of the other kind right after this one is the same break.
        const char other = c == '\n' ? '\r' : '\n';
        if (i + 1 < text.size() && text[i + 1] == other) ++i;
        shown += lineBreak;
    }
    return shown;
}

int roundHalfEven(double value) {
    if (std::isnan(value)) return 0;
    // nearbyint follows the default rounding mode, which is to nearest, ties to even.
    const double rounded = std::nearbyint(value);
    if (rounded >= static_cast<double>(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (rounded <= static_cast<double>(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return static_cast<int>(rounded);
}

std::string withFullStop(const std::string& message) {
    if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') return message + ".";
    return message;
}

}  // namespace vantorel
