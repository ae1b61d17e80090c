#pragma once

#include <netinet/in.h>

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <map>
#include <mutex>
#include <string>

#include "ConnectionStream.h"
#include "HttpRequest.h"
#include "HttpResponse.h"
#include "RequestLog.h"

namespace vantorel::service {

class TlsServer;

// A small HTTP/1.1 server over IPv4 sockets: one thread per connection (up
// to a limit), keep-alive and pipelined requests, time limits on every wait,
// and a 4xx answer for anything it will not serve. When the limit is reached,
// the connection that has waited longest for a request head is closed to make
// room, so idle or half-sent connections never shut a new client out.
class HttpServer {
public:
    using Handler =
        std::function<HttpResponse(const HttpRequest& request, const std::string& localAddress)>;

    static constexpr int kMostConnections = 64;
    static constexpr int kIdleTimeoutMs = 30000;
    static constexpr int kHeadTimeoutMs = 30000;
    static constexpr int kSendTimeoutMs = 30000;

    // "HOST:PORT" or "PORT" (then on 127.0.0.1); HOST is an IPv4 address
    // or "localhost". Throws vantorel::Failure when it does not parse.
    static sockaddr_in parseListenAddress(const std::string& text);

    // Binds and listens at once, so the port is known (port 0 picks a free
    // one). Throws vantorel::Failure when that fails. With `tls` every
    // connection is served over TLS, its handshake within kHeadTimeoutMs.
    HttpServer(const std::string& listenAddress, Handler handler, RequestLog& log,
               const TlsServer* tls = nullptr);
    ~HttpServer();
    HttpServer(const HttpServer&) = delete;
    HttpServer& operator=(const HttpServer&) = delete;

    const std::string& address() const { return address_; }
    // Request lines beyond this many bytes are refused with 414; 0 keeps the parser's own limit.
    void setLongestRequestLine(std::size_t bytes) { longestRequestLine_ = bytes; }

    // Serves until stop(); then closes every connection and waits for their
    // threads before it returns.
    void run();
    // Safe to call from a signal handler.
    void stop();

private:
    void serveConnection(int socket, const std::string& peer, const std::string& local);
    void answer(ConnectionStream& stream, const std::string& peer, const std::string& requestLine,
                HttpResponse& response, bool headOnly, bool keepAlive, const std::string& version);
    void connectionEnded(int socket);
    // A connection waits for a request head, or is busy answering one.
    void setWaiting(int socket, bool waiting);
    bool makeRoom();  // with mutex_ held

    struct Connection {
        std::string peer;
        bool waiting = true;
        bool closing = false;  // shut down to make room, its thread still ending
        std::chrono::steady_clock::time_point waitingSince;
    };

    int listener_ = -1;
    int wakeRead_ = -1;
    int wakeWrite_ = -1;
    std::string address_;
    Handler handler_;
    RequestLog& log_;
    std::size_t longestRequestLine_ = 0;
    const TlsServer* tls_;

    std::mutex mutex_;
    std::condition_variable ended_;
    std::map<int, Connection> open_;  // sockets of running connection threads
    int counted_ = 0;                 // of them not closing
};

}  // namespace vantorel::service
