#pragma once

#include <cstdint>
#include <string>

#include "retrieval/HeaderList.h"

namespace vantorel {

// The client's response record: one per client, replaced at every header
// block and kept until the next one (the next request's connection reuse
// reads it).
struct HttpResponse {
    std::string statusLine;
    int statusCode = -1;
    HeaderList rawHeaders;
    // -1 when the response declares no whole-number Content-Length.
    std::int64_t ContentLength = -1;
    std::string connection;
    std::string proxyConnection;
    std::string location;
    std::string transferEncoding;

    bool hasContentLength() const { return ContentLength >= 0; }

    // Takes a new head and derives the fields above from it.
    void setHead(std::string status, HeaderList headers);
};

}  // namespace vantorel
