#pragma once

#include <cstdint>
#include <string>

namespace vantorel {

// One request's address, parsed the client's way: backslashes become
// slashes, user information is dropped, the fragment is cut, and nothing in
// the target is encoded or decoded.
struct HttpUrl {
    std::string scheme = "http";
    std::string host;
    std::string portText = "80";
    std::uint16_t port = 80;
    std::string target = "/";

    // The target up to and including its last "/" before the query.
    std::string directoryPath() const;
    // The Host header's value: the host, and ":" and the port unless it is
    // the scheme's own ("80", or "443" for https).
    std::string hostValue() const;
    bool isHttps() const;

    // A URL without "://" is relative to `previous`: it keeps its host and
    // port and joins its path to the previous directory path. Throws Failure
    // for a port that is not a whole number.
    static HttpUrl parse(const std::string& text, const HttpUrl& previous);
};

}  // namespace vantorel
