#pragma once

#include <string>
#include <string_view>

namespace vantorel::service {

// Small text rules of HTTP heads shared by the parser and the responder.
class HttpText {
public:
    static bool equalsIgnoringCase(std::string_view a, std::string_view b);
    static bool startsWithIgnoringCase(std::string_view text, std::string_view prefix);
    // Whether a comma-separated header value holds the token (any case).
    static bool hasToken(std::string_view list, std::string_view token);
    static std::string_view trim(std::string_view text);
    static bool isTokenChar(char c);
    // A printable rendering for the log: control and non-ASCII bytes as
    // \xHH, cut to a length so a hostile line cannot flood the log.
    static std::string printable(std::string_view text, std::size_t longest);
};

}  // namespace vantorel::service
