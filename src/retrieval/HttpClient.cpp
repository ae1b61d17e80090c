#include "retrieval/HttpClient.h"

#include <algorithm>
#include <new>
#include <optional>
#include <stdexcept>

#include "platform/Failure.h"
#include "platform/SocketLayer.h"
#include "retrieval/BodyReader.h"
#include "retrieval/HttpText.h"
#include "retrieval/SocketTransport.h"
#include "retrieval/StageLabel.h"

namespace vantorel {
namespace {

// A kept connection found closed before any byte of the status line.
struct StaleConnection {};

// A client on the real sockets starts the socket layer when it is created, so a
// missing or broken socket library shows when the window is built, not at the
// first download.
TcpConnection::TransportFactory orSockets(TcpConnection::TransportFactory factory) {
    if (factory) return factory;
    startSocketLayer();
    return [] { return std::make_unique<SocketTransport>(); };
}

}  // namespace

HttpClient::HttpClient(TransportFactory transport, CookieStore::Clock clock, TlsFactory tls)
    : clock_(std::move(clock)),
      tls_(std::move(tls)),
      connection_(orSockets(std::move(transport))),
      work_(OnWorkBegin, OnWork, OnWorkEnd) {}

std::string HttpClient::Get(const std::string& url) {
    std::string body;
    bool sized = false;
    Get(url, [&](const char* data, std::size_t size) {
        try {
            const auto declared = response_.ContentLength;
            if (!sized && declared > 0) {
                if (static_cast<std::uint64_t>(declared) > MaxBodySize)
                    throw Failure(tooLargeMessage());
                body.reserve(static_cast<std::size_t>(declared));
            }
            sized = true;
            if (size > MaxBodySize - std::min(MaxBodySize, body.size()))
                throw Failure(tooLargeMessage());
            body.append(data, size);
        } catch (const std::bad_alloc&) {
            throw Failure(tooLargeMessage());
        } catch (const std::length_error&) {
            throw Failure(tooLargeMessage());
        }
    });
    return body;
}

void HttpClient::Get(const std::string& url, const BodySink& sink) {
    refusedStatus_ = 0;
    try {
        const HttpUrl target =
            withLabel("THTTPClient.DoRequest#2 --> ", [&] { return prepareRequest(url); });
        // A kept connection that the server closed just as the request went
        // out shows no status byte at all; the request then goes once more,
        // on a new connection (which is never "kept", so never a third time).
        for (;;) {
            try {
                withLabel("THTTPClient.DoRequest_#5 --> ", [&] {
                    withLabel("THTTPClient.ConnectToHost_#10 --> ", [&] { connectToHost(target); });
                });
                withLabel("THTTPClient.DoRequest#3 --> ", [&] { readResponseHead(target.host); });
                break;
            } catch (const StaleConnection&) {
                connection_.close();
            }
        }
        withLabel("THTTPClient.DoRequest#4 --> ", [&] { readStatusAndBody(sink); });
        withLabel("THTTPClient.DoRequest#14 --> ", [&] { applyKeepAliveRule(); });
    } catch (const Failure& failure) {
        // The rest of a response that failed half-way would stand in front
        // of the next one: such a connection is not kept.
        if (!inStep_) connection_.close();
        inStep_ = true;
        applyKeepAliveRule();
        throw Failure("THTTPClient.DoRequest#1 --> " + failure.message());
    } catch (...) {
        // Anything else (thrown by a progress handler or a sink, say) leaves
        // the connection in an unknown place: it is not reused.
        connection_.close();
        inStep_ = true;
        throw;
    }
}

HttpUrl HttpClient::prepareRequest(const std::string& url) {
    HttpUrl parsed = HttpUrl::parse(url, previous_);
    // A CR or LF in the target or host would let the caller's text add
    // header lines of its own to the request.
    if (holdsControlByte(parsed.target) || holdsControlByte(parsed.host))
        throw Failure("The URL holds a control character; the request is not sent.");
    previous_ = parsed;
    return parsed;
}

void HttpClient::connectToHost(const HttpUrl& url) {
    const bool https = url.isHttps();
    withLabel("THTTPClient.ConnectToHost#1 --> ", [&] {
        if (connection_.isOpen() &&
            (!equalsIgnoreCase(connection_.host(), url.host) || connection_.port() != url.port ||
             connection_.encrypted() != https))
            connection_.close();
        if (https && !tls_) throw Failure("Transport value is not valid");
    });
    withLabel("THTTPClient.ConnectToHost#5 --> ", [&] {
        if (connection_.isOpen()) {
            if (keepsConnection())
                connection_.probe();
            else
                connection_.close();
        }
        reusedConnection_ = connection_.isOpen();
        if (reusedConnection_) return;
        TcpConnection::TlsWrapper wrap;
        if (https)
            wrap = [this](std::unique_ptr<Transport> inner) {
                return tls_(std::move(inner), CAFile);
            };
        connection_.open(url.host, url.port, ConnectTimeout, wrap);
    });
    // Nothing of the request goes out before the server's certificate is accepted.
    if (https && !reusedConnection_)
        withLabel("THTTPClient.TLSHandshake#1 --> ",
                  [&] { connection_.handshake(url.host, ReadTimeout); });
    inStep_ = false;
    withLabel("THTTPClient.ConnectToHost#11 --> " + url.host + " ",
              [&] { buildAndSendRequest(url); });
}

void HttpClient::buildAndSendRequest(const HttpUrl& url) {
    std::string cookieList;
    withLabel("THTTPClient.BuildAndSendRequest#2 --> ", [&] {
        withLabel("THTTPClient.SetCookies#2 --> ", [&] {
            withLabel("THTTPClient.SetCookies#1 --> ", [&] {
                if (AllowCookies && cookies_)
                    cookieList = cookies_->cookieList(url.host, url.directoryPath(),
                                                      cookieRoom(url), connection_.encrypted());
            });
        });
    });
    std::string request = "GET " + url.target + " HTTP/" +
                          (ProtocolVersion == HttpVersion::Http11 ? "1.1" : "1.0") + "\r\n";
    request += "Host: " + url.hostValue() + "\r\n";
    request += std::string("Accept: ") + kAccept + "\r\n";
    request += std::string("User-Agent: ") + kUserAgent + "\r\n";
    if (!cookieList.empty()) request += "Cookie: " + cookieList + "\r\n";
    request += "\r\n";
    // One write of the complete text.
    withLabel("THTTPClient.BuildAndSendRequest#6 --> ", [&] {
        try {
            connection_.sendAll(request);
        } catch (const Failure&) {
            if (reusedConnection_ && !connection_.isOpen()) throw StaleConnection{};
            throw;
        }
    });
}

void HttpClient::readResponseHead(const std::string& host) {
    readHead(host);
    for (int interim = 1; response_.statusCode == 100; ++interim) {
        if (interim > kMaxInterimHeads)
            throw Failure("The server sent more than " + std::to_string(kMaxInterimHeads) +
                          " interim responses.");
        readHead(host);
    }
}

void HttpClient::readHead(const std::string& host) {
    // Only the first status line of a request can show a stale connection.
    const bool first = reusedConnection_ && connection_.buffer().empty();
    std::optional<std::string> status;
    try {
        status = connection_.readLine(ReadTimeout, kMaxLineLength);
    } catch (const Failure&) {
        if (first && !connection_.isOpen() && connection_.buffer().empty()) throw StaleConnection{};
        throw;
    }
    reusedConnection_ = false;
    if (!status) {
        if (first && connection_.buffer().empty()) throw StaleConnection{};
        throw Failure("Connection Closed Gracefully.");
    }
    HeaderList headers;
    // A close while header lines arrive ends the block with what came.
    while (auto line = connection_.readLine(ReadTimeout, kMaxLineLength)) {
        if (line->empty()) break;
        if (headers.size() >= kMaxHeaderLines) throw Failure("Too many header lines.");
        headers.add(std::move(*line));
    }
    response_.setHead(std::move(*status), std::move(headers));
    if (AllowCookies) {
        if (!cookies_) cookies_ = std::make_unique<CookieStore>(clock_);
        cookies_->store(response_.rawHeaders.values({"Set-Cookie", "Set-Cookie2"}), host);
    }
}

void HttpClient::readStatusAndBody(const BodySink& sink) {
    const int code = response_.statusCode;
    const bool redirect =
        (code >= 300 && code <= 399 && code != 304) || !response_.location.empty();
    if (redirect || code < 200 || code > 299) {
        refusedStatus_ = code;
        readBody(nullptr, kRefusedBodyTimeout);
        inStep_ = true;
        throw Failure(response_.statusLine);
    }
    if (connection_.closedByPeer()) throw Failure("Undefined situation");
    if (code != 204) readBody(&sink, ReadTimeout);
    inStep_ = true;
}

void HttpClient::readBody(const BodySink* sink, const int& readTimeout) {
    BodyReader reader(connection_, work_, readTimeout, sink);
    if (response_.ContentLength > 0) {
        const std::int64_t got = reader.readExactly(response_.ContentLength);
        // A short body is no success: nothing truncated may be saved.
        if (sink != nullptr && got < response_.ContentLength)
            throw Failure("The connection closed after " + std::to_string(got) + " of the " +
                          std::to_string(response_.ContentLength) + " bytes of the reply body.");
    } else if (response_.transferEncoding.find("chunked") != std::string::npos) {
        reader.readChunked(kMaxLineLength);
    } else if (!response_.hasContentLength()) {
        reader.readUntilClose();
    }
}

std::size_t HttpClient::cookieRoom(const HttpUrl& url) const {
    const std::size_t fixed = std::string(
                                  "GET  HTTP/1.1\r\nHost: \r\nAccept: \r\nUser-Agent: "
                                  "\r\nCookie: \r\n\r\n")
                                  .size() +
                              url.target.size() + url.hostValue().size() +
                              std::char_traits<char>::length(kAccept) +
                              std::char_traits<char>::length(kUserAgent);
    return fixed < kMaxRequestHead ? kMaxRequestHead - fixed : 0;
}

std::string HttpClient::tooLargeMessage() {
    return "The reply body is too large to be held in memory.";
}

bool HttpClient::keepsConnection() const {
    if (!connection_.isOpen()) return false;
    const std::string connection = upperAscii(trimBlanks(response_.connection));
    const std::string proxy = upperAscii(trimBlanks(response_.proxyConnection));
    if (ProtocolVersion == HttpVersion::Http11) return connection != "CLOSE" && proxy != "CLOSE";
    return connection == "KEEP-ALIVE" || proxy == "KEEP-ALIVE";
}

void HttpClient::applyKeepAliveRule() {
    if (connection_.isOpen() && !keepsConnection()) connection_.close();
}

}  // namespace vantorel
