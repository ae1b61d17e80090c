#include "retrieval/HttpClient.h"

#include <new>
#include <stdexcept>

#include "platform/Failure.h"
#include "platform/SocketLayer.h"
#include "retrieval/BodyReader.h"
#include "retrieval/HttpText.h"
#include "retrieval/SocketTransport.h"
#include "retrieval/StageLabel.h"

namespace vantorel {
namespace {

// A client on the real sockets starts the socket layer when it is created, so a
// missing or broken socket library shows when the window is built, not at the
// first download.
TcpConnection::TransportFactory orSockets(TcpConnection::TransportFactory factory) {
    if (factory) return factory;
    startSocketLayer();
    return [] { return std::make_unique<SocketTransport>(); };
}

}  // namespace

HttpClient::HttpClient(TransportFactory transport, CookieStore::Clock clock)
    : clock_(std::move(clock)),
      connection_(orSockets(std::move(transport))),
      work_(OnWorkBegin, OnWork, OnWorkEnd) {}

std::string HttpClient::Get(const std::string& url) {
    std::string body;
    try {
        const HttpUrl target =
            withLabel("THTTPClient.DoRequest#2 --> ", [&] { return prepareRequest(url); });
        withLabel("THTTPClient.DoRequest_#5 --> ", [&] {
            withLabel("THTTPClient.ConnectToHost_#10 --> ", [&] { connectToHost(target); });
        });
        withLabel("THTTPClient.DoRequest#3 --> ", [&] { readResponseHead(target.host); });
        body = withLabel("THTTPClient.DoRequest#4 --> ", [&] { return readStatusAndBody(); });
        withLabel("THTTPClient.DoRequest#14 --> ", [&] { applyKeepAliveRule(); });
    } catch (const Failure& failure) {
        // The rest of a response that failed half-way would stand in front
        // of the next one: such a connection is not kept.
        if (!inStep_) connection_.close();
        inStep_ = true;
        applyKeepAliveRule();
        throw Failure("THTTPClient.DoRequest#1 --> " + failure.message());
    } catch (...) {
        // Anything else (thrown by a progress handler, say) leaves the
        // connection in an unknown place: it is not reused.
        connection_.close();
        inStep_ = true;
        throw;
    }
    return body;
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
    withLabel("THTTPClient.ConnectToHost#1 --> ", [&] {
        if (connection_.isOpen() &&
            (!equalsIgnoreCase(connection_.host(), url.host) || connection_.port() != url.port))
            connection_.close();
        if (equalsIgnoreCase(url.scheme, "https")) throw Failure("Transport value is not valid");
    });
    withLabel("THTTPClient.ConnectToHost#5 --> ", [&] {
        if (connection_.isOpen()) {
            if (keepsConnection())
                connection_.probe();
            else
                connection_.close();
        }
        if (!connection_.isOpen()) connection_.open(url.host, url.port, ConnectTimeout);
    });
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
                    cookieList = cookies_->cookieList(url.host, url.directoryPath());
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
    withLabel("THTTPClient.BuildAndSendRequest#6 --> ", [&] { connection_.sendAll(request); });
}

void HttpClient::readResponseHead(const std::string& host) {
    do {
        auto status = connection_.readLine(ReadTimeout, kMaxLineLength);
        if (!status) throw Failure("Connection Closed Gracefully.");
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
    } while (response_.statusCode == 100);
}

std::string HttpClient::readStatusAndBody() {
    const int code = response_.statusCode;
    const bool redirect =
        (code >= 300 && code <= 399 && code != 304) || !response_.location.empty();
    if (redirect || code < 200 || code > 299) {
        readBody(nullptr, kRefusedBodyTimeout);
        inStep_ = true;
        throw Failure(response_.statusLine);
    }
    if (connection_.closedByPeer()) throw Failure("Undefined situation");
    std::string body;
    if (code != 204) readBody(&body, ReadTimeout);
    inStep_ = true;
    return body;
}

void HttpClient::readBody(std::string* sink, const int& readTimeout) {
    BodyReader reader(connection_, work_, readTimeout, MaxBodySize);
    try {
        if (response_.ContentLength > 0) {
            const std::int64_t got = reader.readExactly(response_.ContentLength, sink);
            // A short body is no success: nothing truncated may be saved.
            if (sink != nullptr && got < response_.ContentLength)
                throw Failure("The connection closed after " + std::to_string(got) + " of the " +
                              std::to_string(response_.ContentLength) +
                              " bytes of the reply body.");
        } else if (response_.transferEncoding.find("chunked") != std::string::npos) {
            reader.readChunked(sink, kMaxLineLength);
        } else if (!response_.hasContentLength()) {
            reader.readUntilClose(sink);
        }
    } catch (const std::bad_alloc&) {
        throw Failure(BodyReader::tooLargeMessage());
    } catch (const std::length_error&) {
        throw Failure(BodyReader::tooLargeMessage());
    }
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
