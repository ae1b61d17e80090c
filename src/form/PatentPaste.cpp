#include "form/PatentPaste.h"

#include <algorithm>

namespace vantorel::PatentPaste {
namespace {

bool isBreak(char c) {
    return c == '\n' || c == '\r' || c == '\t';
}

// Blanks and control bytes: what the request's normalisation trims.
bool isBlank(char c) {
    return static_cast<unsigned char>(c) <= 0x20;
}

// Whether the nearest byte that is no blank is part of a number (not a ";",
// not the end of the text).
bool numberAtEnd(std::string_view text) {
    const auto last = std::find_if_not(text.rbegin(), text.rend(), isBlank);
    return last != text.rend() && *last != ';';
}

bool numberAtStart(std::string_view text) {
    const auto first = std::find_if_not(text.begin(), text.end(), isBlank);
    return first != text.end() && *first != ';';
}

}  // namespace

std::string replacement(std::string_view before, std::string_view pasted, std::string_view after) {
    if (std::none_of(pasted.begin(), pasted.end(), isBreak)) return std::string(pasted);
    // A column is a list of numbers: its first and last lines are numbers of
    // their own, never the continuation of one in the field.
    const std::string column = '\n' + std::string(pasted) + '\n';
    pasted = column;
    std::string out;
    out.reserve(pasted.size());
    for (std::size_t at = 0; at < pasted.size();) {
        if (!isBlank(pasted[at])) {
            out.push_back(pasted[at++]);
            continue;
        }
        std::size_t end = at;
        while (end < pasted.size() && isBlank(pasted[end])) ++end;
        const std::string_view run = pasted.substr(at, end - at);
        if (std::none_of(run.begin(), run.end(), isBreak)) {
            out.append(run);  // blanks inside a line stay as they are
        } else {
            const bool left = out.empty() ? numberAtEnd(before) : out.back() != ';';
            const bool right = end < pasted.size() ? pasted[end] != ';' : numberAtStart(after);
            if (left && right) out.push_back(';');
        }
        at = end;
    }
    return out;
}

Result apply(std::string_view current, std::size_t selectionStart, std::size_t selectionEnd,
             std::string_view pasted) {
    const std::size_t from = std::min({selectionStart, selectionEnd, current.size()});
    const std::size_t to = std::min(std::max(selectionStart, selectionEnd), current.size());
    const std::string_view before = current.substr(0, from);
    const std::string_view after = current.substr(to);
    const std::string inserted = replacement(before, pasted, after);
    Result result;
    result.text.reserve(before.size() + inserted.size() + after.size());
    result.text.append(before).append(inserted).append(after);
    result.caret = before.size() + inserted.size();
    return result;
}

}  // namespace vantorel::PatentPaste
