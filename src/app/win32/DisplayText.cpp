#include "app/win32/DisplayText.h"

namespace vantorel {

std::string displayText(const std::string& text) {
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
        shown += "\r\n";
    }
    return shown;
}

}  // namespace vantorel
