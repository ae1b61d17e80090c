#include "retrieval/HttpResponse.h"

#include <cstdint>
#include <string_view>

#include "platform/WholeNumber.h"
#include "retrieval/HttpText.h"

namespace vantorel {
namespace {

// The token after the first space, leading blanks skipped, as a decimal number.
int readStatusCode(std::string_view line) {
    std::size_t pos = line.find(' ');
    if (pos == std::string_view::npos) return -1;
    while (pos < line.size() && line[pos] == ' ') ++pos;
    std::size_t end = line.find(' ', pos);
    std::string_view token = line.substr(pos, end == std::string_view::npos ? end : end - pos);
    if (token.empty() || token.size() > 9) return -1;
    int code = 0;
    for (const char c : token) {
        if (c < '0' || c > '9') return -1;
        code = code * 10 + (c - '0');
    }
    return code;
}

// The whole-number rule, widened to 64 bits for decimal lengths: a body
// declared above 2 GiB keeps its length, so arriving short still fails.
std::int64_t readContentLength(const std::string& text) {
    if (const auto small = tryParseWholeNumber(text)) return *small;
    std::size_t pos = text.find_first_not_of(' ');
    if (pos == std::string::npos) return -1;
    if (text[pos] == '+') ++pos;
    if (pos == text.size()) return -1;
    std::int64_t value = 0;
    for (; pos < text.size(); ++pos) {
        const char c = text[pos];
        if (c < '0' || c > '9') return -1;
        if (value > (INT64_MAX - (c - '0')) / 10) return -1;
        value = value * 10 + (c - '0');
    }
    return value;
}

}  // namespace

void HttpResponse::setHead(std::string status, HeaderList headers) {
    statusLine = std::move(status);
    statusCode = readStatusCode(statusLine);
    rawHeaders = std::move(headers);
    ContentLength = readContentLength(std::string(trimBlanks(rawHeaders.value("Content-Length"))));
    connection = rawHeaders.value("Connection");
    proxyConnection = rawHeaders.value("Proxy-Connection");
    location = rawHeaders.value("Location");
    transferEncoding = rawHeaders.value("Transfer-Encoding");
}

}  // namespace vantorel
