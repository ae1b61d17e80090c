#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vantorel::service {

// One request head as it arrived. The target is kept byte for byte: the
// client sends logins and passwords unescaped, blanks included.
struct HttpRequest {
    std::string method;
    std::string target;
    std::string version;  // "HTTP/1.0" or "HTTP/1.1"
    std::string requestLine;
    std::vector<std::pair<std::string, std::string>> headers;

    // First header of that name (names compared without regard to case).
    std::optional<std::string> header(std::string_view name) const;
    bool keepAlive() const;
    std::string path() const;
    // The value of the first query key of that name; keys are split at "&"
    // and "=", nothing is decoded.
    std::optional<std::string> queryValue(std::string_view key) const;
};

}  // namespace vantorel::service
