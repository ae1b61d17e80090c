#pragma once

#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <string>

#include "retrieval/BodySink.h"
#include "retrieval/CookieStore.h"
#include "retrieval/HttpResponse.h"
#include "retrieval/HttpUrl.h"
#include "retrieval/TcpConnection.h"
#include "retrieval/TlsTransport.h"
#include "retrieval/WorkCounter.h"

namespace vantorel {

// HTTP/1.1 GET over IPv4 with one kept connection, cookies, time-outs and
// progress events, over TLS for https; no redirects, no authentication. Every
// failure is a Failure whose message is the chain of stage labels down to the
// innermost cause ("THTTPClient.DoRequest#1 --> ... --> Read Timeout").
class HttpClient {
public:
    enum class HttpVersion { Http10, Http11 };
    using TransportFactory = TcpConnection::TransportFactory;
    // TLS over a new stream, with the CA file's extra roots; empty: no TLS,
    // so https fails with "Transport value is not valid".
    using TlsFactory = std::function<std::unique_ptr<TlsTransport>(std::unique_ptr<Transport>,
                                                                   const std::string& caFile)>;

    static constexpr const char* kAccept = "text/html, */*";
    static constexpr const char* kUserAgent =
        "Mozilla/3.0 (compatible; Vantorel Patent Downloader)";
    static constexpr std::size_t kMaxLineLength = 16384;
    static constexpr std::size_t kMaxHeaderLines = 1000;
    // Interim "100" heads read before the real one; a server that sends
    // them without end fails instead of holding the caller for ever.
    static constexpr int kMaxInterimHeads = 32;
    // The request head stays within what servers accept; cookies that do
    // not fit are left out.
    static constexpr std::size_t kMaxRequestHead = 65536;
    // The body of a refused response is read under this time-out.
    static constexpr int kRefusedBodyTimeout = 2000;

    // The default transport is the platform's sockets, under the platform's TLS for https.
    explicit HttpClient(TransportFactory transport = {}, CookieStore::Clock clock = {},
                        TlsFactory tls = makeTlsTransport);
    HttpClient(const HttpClient&) = delete;
    HttpClient& operator=(const HttpClient&) = delete;

    // One GET; the body exactly as received.
    std::string Get(const std::string& url);
    // One GET whose body goes to `sink` block by block as it arrives, in
    // blocks of at most 32768 bytes, each before its OnWork event. Nothing
    // of it is held here, so any length fits.
    void Get(const std::string& url, const BodySink& sink);

    // Milliseconds any single wait for data may last; 0 = no limit.
    int ReadTimeout = 15000;
    // Milliseconds the TCP connect may last; 0 or -1 = a plain blocking connect.
    int ConnectTimeout = 15000;
    bool AllowCookies = true;
    // A PEM file of extra trusted roots for https; empty: the system's only.
    std::string CAFile;
    HttpVersion ProtocolVersion = HttpVersion::Http11;
    // Bodies that Get returns as a string fail beyond this many bytes instead
    // of exhausting memory; a sink takes any length.
    std::size_t MaxBodySize = std::numeric_limits<std::size_t>::max();

    // Progress while a body is read (never while connecting, sending or
    // reading the head). The count is cumulative within one body and restarts
    // at every chunk of a chunked one.
    WorkCounter::BeginEvent OnWorkBegin;
    WorkCounter::WorkEvent OnWork;
    WorkCounter::EndEvent OnWorkEnd;

    // The head of the current (or last) response; readable from inside OnWork.
    const HttpResponse& response() const { return response_; }
    // The status with which the server refused the last request (not 2xx, or
    // a redirect); 0 when it was not refused by a status.
    int refusedStatus() const { return refusedStatus_; }
    // Absent until the first response arrives with AllowCookies on.
    const CookieStore* cookieStore() const { return cookies_.get(); }
    bool connected() const { return connection_.isOpen(); }

private:
    HttpUrl prepareRequest(const std::string& url);
    void connectToHost(const HttpUrl& url);
    void buildAndSendRequest(const HttpUrl& url);
    void readResponseHead(const std::string& host);
    void readStatusAndBody(const BodySink& sink);
    void readBody(const BodySink* sink, const int& readTimeout);
    void readHead(const std::string& host);
    // The most the Cookie value may take within kMaxRequestHead.
    std::size_t cookieRoom(const HttpUrl& url) const;
    static std::string tooLargeMessage();
    bool keepsConnection() const;
    void applyKeepAliveRule();

    CookieStore::Clock clock_;
    TlsFactory tls_;
    TcpConnection connection_;
    WorkCounter work_;
    HttpResponse response_;
    std::unique_ptr<CookieStore> cookies_;
    HttpUrl previous_;
    // False while the connection may hold the unread rest of a response.
    bool inStep_ = true;
    // The request went out on a connection kept from an earlier one.
    bool reusedConnection_ = false;
    int refusedStatus_ = 0;
};

}  // namespace vantorel
