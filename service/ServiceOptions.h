#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace vantorel::service {

// The command line of vantorel-service.
struct ServiceOptions {
    std::string listen = "127.0.0.1:8741";
    std::string catalogue;  // empty: generated samples only
    std::string accounts;   // empty: the demo account
    std::string log;        // empty: stderr
    std::size_t sampleSize = 0;
    std::size_t maxRequestLine = 0;  // 0: the server's own limit (64 KiB)
    std::string tlsCertificate;  // both set: serve https
    std::string tlsKey;
    bool help = false;

    static constexpr std::size_t kLargestSample = std::size_t{1} << 30;

    // Throws vantorel::Failure with a one-line reason on a bad command line.
    static ServiceOptions parse(const std::vector<std::string>& arguments);
    static const char* usage();
};

}  // namespace vantorel::service
