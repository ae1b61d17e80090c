#include "retrieval/CookieStore.h"

#include <algorithm>
#include <chrono>
#include <mutex>
#include <string_view>

#include "platform/WholeNumber.h"
#include "retrieval/HttpText.h"
#include "retrieval/InternetDate.h"

namespace vantorel {
namespace {

std::int64_t systemNow() {
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

std::string_view unquoted(std::string_view text) {
    if (!text.empty() && text.front() == '"') text.remove_prefix(1);
    if (!text.empty() && text.back() == '"') text.remove_suffix(1);
    return text;
}

// Upper-case comparison, so "/a" and "/A" count as equal paths.
bool pathGreater(const CookieStore::Cookie* a, const CookieStore::Cookie* b) {
    return upperAscii(a->path) > upperAscii(b->path);
}

}  // namespace

CookieStore::CookieStore(Clock clock) : clock_(clock ? std::move(clock) : Clock(systemNow)) {}

void CookieStore::store(const std::vector<std::string>& headerValues,
                        const std::string& requestHost) {
    std::unique_lock guard(lock_);
    for (const std::string& value : headerValues) storeOne(value, requestHost);
}

void CookieStore::storeOne(const std::string& headerValue, const std::string& requestHost) {
    Cookie cookie;
    std::string maxAge;
    bool first = true;
    std::string_view rest = headerValue;
    while (true) {
        const std::size_t semicolon = rest.find(';');
        const std::string_view part = trimBlanks(rest.substr(0, semicolon));
        const std::size_t equals = part.find('=');
        const std::string_view name = part.substr(0, equals);
        const std::string_view value =
            equals == std::string_view::npos ? std::string_view() : part.substr(equals + 1);
        if (first) {
            cookie.name = name;
            cookie.value = value;
            first = false;
        } else if (equalsIgnoreCase(name, "Path")) {
            cookie.path = unquoted(value);
        } else if (equalsIgnoreCase(name, "Expires")) {
            cookie.expires = value;
        } else if (equalsIgnoreCase(name, "Domain")) {
            cookie.domain = value;
        } else if (equalsIgnoreCase(name, "Secure")) {
            cookie.secure = true;
        } else if (equalsIgnoreCase(name, "Max-Age")) {
            maxAge = value;
        }
        if (semicolon == std::string_view::npos) break;
        rest.remove_prefix(semicolon + 1);
    }
    // Whatever is stored here goes back into a request header: control bytes
    // would let a server inject lines into our requests.
    for (const std::string* text : {&cookie.name, &cookie.value, &cookie.path, &cookie.domain})
        if (holdsControlByte(*text, true)) return;

    if (cookie.expires.empty()) {
        if (const auto seconds = tryParseWholeNumber(maxAge); seconds && *seconds >= 0)
            cookie.expires = formatInternetDate(clock_() + *seconds);
    }
    if (cookie.domain.empty()) cookie.domain = requestHost;

    auto key = std::find_if(domains_.begin(), domains_.end(), [&](const DomainKey& k) {
        return equalsIgnoreCase(k.domain, cookie.domain);
    });
    if (key != domains_.end()) {
        for (Cookie& existing : key->cookies)
            if (equalsIgnoreCase(existing.name, cookie.name)) {
                existing = std::move(cookie);
                return;
            }
    }
    if (count() >= kMaxCookies) return;
    if (key == domains_.end()) {
        domains_.push_back(DomainKey{cookie.domain, {}});
        key = domains_.end() - 1;
    }
    key->cookies.push_back(std::move(cookie));
}

std::size_t CookieStore::count() const {
    std::size_t total = 0;
    for (const DomainKey& key : domains_) total += key.cookies.size();
    return total;
}

void CookieStore::sweepExpired() {
    std::unique_lock guard(lock_);
    const std::int64_t now = clock_();
    for (DomainKey& key : domains_) {
        std::erase_if(key.cookies, [now](const Cookie& cookie) {
            if (cookie.expires.empty()) return false;
            const auto expiry = parseInternetDate(cookie.expires);
            // An unreadable date counts as past; a date of this very second
            // is no longer in the future either (Max-Age=0 deletes).
            return !expiry || *expiry <= now;
        });
    }
}

std::string CookieStore::cookieList(const std::string& requestHost,
                                    const std::string& directoryPath, std::size_t maxLength,
                                    bool encrypted) {
    sweepExpired();
    std::shared_lock guard(lock_);
    const std::string host = upperAscii(requestHost);
    std::vector<const Cookie*> chosen;
    for (const DomainKey& key : domains_) {
        if (host.find(upperAscii(key.domain)) == std::string::npos) continue;
        for (const Cookie& cookie : key.cookies) {
            // A cookie set without Path is sent for every target.
            if (cookie.value.empty() || (cookie.secure && !encrypted) ||
                directoryPath.compare(0, cookie.path.size(), cookie.path) != 0)
                continue;
            chosen.push_back(&cookie);
        }
    }
    std::stable_sort(chosen.begin(), chosen.end(), pathGreater);
    std::string list;
    for (const Cookie* cookie : chosen) {
        const std::size_t separator = list.empty() ? 0 : 2;
        const std::size_t length = cookie->name.size() + 1 + cookie->value.size();
        if (list.size() + separator + length > maxLength) continue;
        if (separator != 0) list += "; ";
        list += cookie->name + "=" + cookie->value;
    }
    return list;
}

std::vector<CookieStore::Cookie> CookieStore::cookies() const {
    std::shared_lock guard(lock_);
    std::vector<Cookie> all;
    for (const DomainKey& key : domains_)
        all.insert(all.end(), key.cookies.begin(), key.cookies.end());
    return all;
}

}  // namespace vantorel
