#pragma once

#include <string>

#include "AccountList.h"
#include "HttpRequest.h"
#include "HttpResponse.h"
#include "PatentCatalogue.h"

namespace vantorel::service {

// The service's answers: the Index response of the fetch endpoint, the
// documents under /files/, and a 4xx for everything else. It holds no
// connection state, so it can be tested without sockets.
class FetchResponder {
public:
    static constexpr const char* kFetchPath = "/patent_pdf/fetcher.php";
    static constexpr const char* kSessionCookie = "VantorelSession";

    // `scheme` ("http" or "https") starts every file address listed, so a
    // client reaches the documents the way it reached the index.
    FetchResponder(AccountList accounts, PatentCatalogue& catalogue, std::string scheme = "http");

    // localAddress ("127.0.0.1:8741") stands in for a missing or unusable Host.
    HttpResponse respond(const HttpRequest& request, const std::string& localAddress) const;

    // The Index response body for one fetch request (after the account check).
    std::string indexBody(const std::string& request, const std::string& host) const;

private:
    HttpResponse index(const HttpRequest& request, const std::string& host) const;
    HttpResponse document(const std::string& path) const;

    AccountList accounts_;
    PatentCatalogue& catalogue_;
    std::string scheme_;
};

}  // namespace vantorel::service
