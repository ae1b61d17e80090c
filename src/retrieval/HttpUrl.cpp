#include "retrieval/HttpUrl.h"

#include <vector>

#include "platform/Failure.h"
#include "platform/WholeNumber.h"
#include "retrieval/HttpText.h"

namespace vantorel {
namespace {

// Where the query starts: the first "?", or without one the first "=".
std::size_t queryStart(const std::string& target) {
    const std::size_t question = target.find('?');
    return question != std::string::npos ? question : target.find('=');
}

std::size_t documentStart(const std::string& target, std::size_t query) {
    const std::size_t slash = target.rfind('/', query == std::string::npos ? query : query - 1);
    return query == 0 || slash == std::string::npos ? 0 : slash + 1;
}

// A "#" in the document part drops the text up to the query; otherwise a "#"
// in the query drops the rest.
std::string withoutFragment(std::string target) {
    const std::size_t query = queryStart(target);
    const std::size_t document = documentStart(target, query);
    const std::size_t hash = target.find('#', document);
    if (hash == std::string::npos) return target;
    if (query == std::string::npos || hash < query)
        target.erase(hash, query == std::string::npos ? std::string::npos : query - hash);
    else
        target.erase(hash);
    return target;
}

// Resolves "." and ".." segments in the path part; the query is left alone.
std::string withoutDotSegments(const std::string& target) {
    const std::size_t query = queryStart(target);
    const std::string path = target.substr(0, query);
    std::vector<std::string> segments;
    std::size_t pos = 1;  // the path starts with "/"
    bool directory = false;
    while (pos <= path.size()) {
        std::size_t slash = path.find('/', pos);
        if (slash == std::string::npos) slash = path.size();
        const std::string segment = path.substr(pos, slash - pos);
        const bool last = slash == path.size();
        if (segment == "..") {
            if (!segments.empty()) segments.pop_back();
            directory = last;
        } else if (segment == ".") {
            directory = last;
        } else if (!last || !segment.empty()) {
            segments.push_back(segment);
            directory = false;
        } else {
            directory = true;
        }
        pos = slash + 1;
    }
    std::string resolved;
    for (const std::string& segment : segments) resolved += "/" + segment;
    if (resolved.empty() || directory) resolved += "/";
    return query == std::string::npos ? resolved : resolved + target.substr(query);
}

std::uint16_t readPort(const std::string& text) {
    const std::int32_t port = parseWholeNumber(text);
    if (port < 0 || port > 65535) throw Failure("'" + text + "' is not a valid port number");
    return static_cast<std::uint16_t>(port);
}

}  // namespace

std::string HttpUrl::directoryPath() const {
    return target.substr(0, documentStart(target, queryStart(target)));
}

std::string HttpUrl::hostValue() const {
    const bool schemePort = isHttps() ? portText == "443" : portText == "80";
    return schemePort ? host : host + ":" + portText;
}

bool HttpUrl::isHttps() const {
    return equalsIgnoreCase(scheme, "https");
}

HttpUrl HttpUrl::parse(const std::string& text, const HttpUrl& previous) {
    std::string url = text;
    for (char& c : url)
        if (c == '\\') c = '/';

    HttpUrl result;
    const std::size_t separator = url.find("://");
    if (separator == std::string::npos) {
        // A relative address stays on the previous request's scheme, so a
        // file listed by an https service is fetched over https too.
        result.scheme = previous.scheme;
        result.host = previous.host;
        result.portText = previous.portText;
        result.port = previous.port;
        const std::string joined =
            !url.empty() && url[0] == '/' ? url : previous.directoryPath() + url;
        result.target = withoutFragment(withoutDotSegments(joined));
        return result;
    }

    if (separator > 0) result.scheme = url.substr(0, separator);
    const std::size_t authorityStart = separator + 3;
    const std::size_t slash = url.find('/', authorityStart);
    std::string authority = url.substr(
        authorityStart, slash == std::string::npos ? std::string::npos : slash - authorityStart);
    // User information is never sent anywhere; the last "@" keeps any part of
    // a password out of the host name.
    const std::size_t at = authority.rfind('@');
    if (at != std::string::npos) authority.erase(0, at + 1);
    const std::size_t colon = authority.find(':');
    result.host = authority.substr(0, colon);
    if (colon != std::string::npos) {
        result.portText = authority.substr(colon + 1);
        result.port = readPort(result.portText);
    } else if (equalsIgnoreCase(result.scheme, "http")) {
        result.portText = "80";
        result.port = 80;
    } else if (equalsIgnoreCase(result.scheme, "https")) {
        result.portText = "443";
        result.port = 443;
    } else {
        result.portText = previous.portText;
        result.port = previous.port;
    }
    result.target = slash == std::string::npos ? "/" : withoutFragment(url.substr(slash));
    return result;
}

}  // namespace vantorel
