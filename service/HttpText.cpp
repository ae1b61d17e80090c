#include "HttpText.h"

#include <cctype>
#include <cstdio>

namespace vantorel::service {

namespace {

char lower(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

}  // namespace

bool HttpText::equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

bool HttpText::startsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() &&
           equalsIgnoringCase(text.substr(0, prefix.size()), prefix);
}

bool HttpText::hasToken(std::string_view list, std::string_view token) {
    while (!list.empty()) {
        const std::size_t comma = list.find(',');
        if (equalsIgnoringCase(trim(list.substr(0, comma)), token)) return true;
        if (comma == std::string_view::npos) break;
        list.remove_prefix(comma + 1);
    }
    return false;
}

std::string_view HttpText::trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

bool HttpText::isTokenChar(char c) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x80 || !std::isgraph(byte)) return false;
    return std::string_view("\"(),/:;<=>?@[\\]{}").find(c) == std::string_view::npos;
}

std::string HttpText::printable(std::string_view text, std::size_t longest) {
    std::string out;
    for (char c : text) {
        if (out.size() >= longest) {
            out += "...";
            break;
        }
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte >= 0x7F || c == '\\') {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            out += escaped;
        } else {
            out.push_back(c);
        }
    }
    return out;
}

}  // namespace vantorel::service
