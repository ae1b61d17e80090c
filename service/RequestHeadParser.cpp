#include "RequestHeadParser.h"

#include "HttpText.h"

namespace vantorel::service {

namespace {

std::string reasonFor(int status) {
    switch (status) {
        case 400:
            return "Bad Request";
        case 405:
            return "Method Not Allowed";
        case 414:
            return "URI Too Long";
        case 431:
            return "Request Header Fields Too Large";
        case 501:
            return "Not Implemented";
        default:
            return "Bad Request";
    }
}

bool hasControlByte(std::string_view text, bool tabAllowed) {
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte < 0x20 && !(tabAllowed && c == '\t')) || byte == 0x7F) return true;
    }
    return false;
}

}  // namespace

RequestHeadParser::Outcome RequestHeadParser::reject(int status, std::string detail) {
    Outcome outcome;
    outcome.state = State::Rejected;
    outcome.status = status;
    outcome.reason = reasonFor(status);
    outcome.detail = std::move(detail);
    return outcome;
}

bool RequestHeadParser::parseRequestLine(std::string_view line, HttpRequest& request,
                                         Outcome& outcome) {
    // The target may hold blanks (the client does not escape them), so the
    // method ends at the first blank and the version starts after the last.
    const std::size_t first = line.find(' ');
    const std::size_t last = line.rfind(' ');
    if (first == std::string_view::npos || first == last) {
        outcome = reject(400, "malformed request line");
        return false;
    }
    request.method = std::string(line.substr(0, first));
    request.version = std::string(line.substr(last + 1));
    std::string_view target = line.substr(first + 1, last - first - 1);
    if (request.method.empty()) {
        outcome = reject(400, "malformed request line");
        return false;
    }
    for (char c : request.method) {
        if (!HttpText::isTokenChar(c)) {
            outcome = reject(400, "malformed method");
            return false;
        }
    }
    if (request.version != "HTTP/1.1" && request.version != "HTTP/1.0") {
        outcome = reject(400, "unsupported protocol version");
        return false;
    }
    if (hasControlByte(target, false)) {
        outcome = reject(400, "control byte in the request target");
        return false;
    }
    // The absolute form must be accepted too; the address is ours anyway.
    if (HttpText::startsWithIgnoringCase(target, "http://")) {
        const std::size_t slash = target.find('/', 7);
        target = slash == std::string_view::npos ? std::string_view("/") : target.substr(slash);
    }
    if (target.empty() || target.front() != '/') {
        outcome = reject(400, "the request target must start with /");
        return false;
    }
    request.target = std::string(target);
    return true;
}

RequestHeadParser::Outcome RequestHeadParser::parse(std::string_view received,
                                                    std::size_t longestRequestLine) {
    HttpRequest request;
    std::size_t position = 0;
    std::size_t requestLineBytes = 0;  // all else counts against kLongestHead
    bool haveRequestLine = false;
    std::size_t hostCount = 0;
    auto tooLong = [&] {
        return haveRequestLine ? reject(431, "header line too long")
                               : reject(414, "request line too long");
    };
    while (true) {
        const std::size_t newline = received.find('\n', position);
        // A CR before the LF may come on top.
        const std::size_t lineLimit = (haveRequestLine ? kLongestLine : longestRequestLine) + 1;
        if (newline == std::string_view::npos) {
            if (received.size() - position > lineLimit) return tooLong();
            const std::size_t counted = haveRequestLine ? received.size() : position;
            if (counted - requestLineBytes > kLongestHead)
                return reject(431, "request head too large");
            return Outcome{};
        }
        const std::size_t lineStart = position;
        std::string_view line = received.substr(lineStart, newline - lineStart);
        position = newline + 1;
        if (line.size() > lineLimit) return tooLong();
        if (haveRequestLine && position - requestLineBytes > kLongestHead)
            return reject(431, "request head too large");
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);

        if (!haveRequestLine) {
            // Blank lines before a request are tolerated, as the protocol asks.
            if (line.empty()) {
                if (position > kLongestHead) return reject(431, "request head too large");
                continue;
            }
            Outcome outcome;
            if (!parseRequestLine(line, request, outcome)) return outcome;
            request.requestLine = std::string(line);
            haveRequestLine = true;
            requestLineBytes = position - lineStart;
            continue;
        }
        if (line.empty()) break;
        if (line.front() == ' ' || line.front() == '\t') {
            return reject(400, "folded header lines are not accepted");
        }
        const std::size_t colon = line.find(':');
        if (colon == std::string_view::npos || colon == 0)
            return reject(400, "malformed header line");
        const std::string_view name = line.substr(0, colon);
        for (char c : name) {
            if (!HttpText::isTokenChar(c)) return reject(400, "malformed header name");
        }
        const std::string_view value = HttpText::trim(line.substr(colon + 1));
        if (hasControlByte(value, true)) return reject(400, "control byte in a header value");
        if (request.headers.size() >= kMostHeaders) return reject(431, "too many header lines");
        if (HttpText::equalsIgnoringCase(name, "Host")) ++hostCount;
        request.headers.emplace_back(std::string(name), std::string(value));
    }

    if (request.method != "GET" && request.method != "HEAD") {
        Outcome outcome = reject(405, "only GET and HEAD are served");
        outcome.request = std::move(request);
        return outcome;
    }
    if (hostCount > 1 || (hostCount == 0 && request.version == "HTTP/1.1")) {
        return reject(400, "HTTP/1.1 requests need exactly one Host header");
    }
    // A body would have to be read to find the next request; GET needs none,
    // so a request announcing one is refused and the connection closed.
    if (request.header("Transfer-Encoding")) return reject(400, "request bodies are not accepted");
    for (const auto& [name, value] : request.headers) {
        if (HttpText::equalsIgnoringCase(name, "Content-Length") && value != "0") {
            return reject(400, "request bodies are not accepted");
        }
    }

    Outcome outcome;
    outcome.state = State::Complete;
    outcome.request = std::move(request);
    outcome.consumed = position;
    return outcome;
}

}  // namespace vantorel::service
