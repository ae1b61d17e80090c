#include "HttpResponse.h"

namespace vantorel::service {

HttpResponse HttpResponse::text(int status, std::string reason, std::string body) {
    HttpResponse response;
    response.status = status;
    response.reason = std::move(reason);
    response.headers.emplace_back("Content-Type", "text/plain; charset=us-ascii");
    response.body = std::move(body);
    return response;
}

}  // namespace vantorel::service
