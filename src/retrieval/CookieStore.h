#pragma once

#include <cstdint>
#include <functional>
#include <shared_mutex>
#include <string>
#include <vector>

namespace vantorel {

// The cookies kept for the run: stored from every response head, swept of
// expired ones and sent back as one Cookie header value. Nothing is saved.
class CookieStore {
public:
    // Current time in seconds since 1970-01-01 UTC; injectable for tests.
    using Clock = std::function<std::int64_t()>;

    struct Cookie {
        std::string name;
        std::string value;
        std::string domain;
        std::string path;
        std::string expires;  // the attribute text, possibly empty
        bool secure = false;
    };

    // A store never grows past this many cookies; later ones are dropped.
    static constexpr std::size_t kMaxCookies = 1000;

    explicit CookieStore(Clock clock = {});

    // The Set-Cookie and Set-Cookie2 values of one header block.
    void store(const std::vector<std::string>& headerValues, const std::string& requestHost);

    // The Cookie header value for a request (empty: send none), at most
    // `maxLength` bytes: a cookie that does not fit is left out. Expired
    // cookies are deleted first; Secure ones go over an encrypted
    // connection only.
    std::string cookieList(const std::string& requestHost, const std::string& directoryPath,
                           std::size_t maxLength = std::string::npos, bool encrypted = false);

    // Every cookie kept, in store order.
    std::vector<Cookie> cookies() const;

private:
    struct DomainKey {
        std::string domain;
        std::vector<Cookie> cookies;
    };

    void storeOne(const std::string& headerValue, const std::string& requestHost);
    void sweepExpired();
    std::size_t count() const;

    Clock clock_;
    std::vector<DomainKey> domains_;
    mutable std::shared_mutex lock_;
};

}  // namespace vantorel
