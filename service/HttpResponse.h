#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "OpenFile.h"

namespace vantorel::service {

// What the server sends back for one request. The body is text, a shared
// generated document, or an open file streamed in blocks.
struct HttpResponse {
    int status = 200;
    std::string reason = "OK";
    std::vector<std::pair<std::string, std::string>> headers;
    std::string body;
    std::shared_ptr<const std::string> sharedBody;
    OpenFile file;
    bool closeAfter = false;

    static HttpResponse text(int status, std::string reason, std::string body);

    std::uint64_t bodySize() const {
        if (file.isOpen()) return file.size();
        if (sharedBody) return sharedBody->size();
        return body.size();
    }
};

}  // namespace vantorel::service
