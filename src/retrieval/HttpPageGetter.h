#pragma once

#include "retrieval/DownloadHost.h"
#include "retrieval/HttpClient.h"

namespace vantorel {

// The download command's view of the program's HTTP client.
class HttpPageGetter : public PageGetter {
public:
    explicit HttpPageGetter(HttpClient& client) : client_(client) {}

    std::string get(const std::string& url) override { return client_.Get(url); }
    void getTo(const std::string& url, const BodySink& sink) override { client_.Get(url, sink); }
    void setReadTimeout(int milliseconds) override { client_.ReadTimeout = milliseconds; }
    void setCaFile(const std::string& caFile) override { client_.CAFile = caFile; }
    long long expectedLength() const override { return client_.response().ContentLength; }
    int refusedStatus() const override { return client_.refusedStatus(); }

private:
    HttpClient& client_;
};

}  // namespace vantorel
