#include "retrieval/HttpResponse.h"

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

}  // namespace

void HttpResponse::setHead(std::string status, HeaderList headers) {
    statusLine = std::move(status);
    statusCode = readStatusCode(statusLine);
    rawHeaders = std::move(headers);
    const auto length =
        tryParseWholeNumber(std::string(trimBlanks(rawHeaders.value("Content-Length"))));
    ContentLength = length ? *length : -1;
    connection = rawHeaders.value("Connection");
    proxyConnection = rawHeaders.value("Proxy-Connection");
    location = rawHeaders.value("Location");
    transferEncoding = rawHeaders.value("Transfer-Encoding");
}

}  // namespace vantorel
