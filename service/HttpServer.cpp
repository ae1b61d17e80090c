#include "HttpServer.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/uio.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <ctime>
#include <string_view>
#include <thread>

#include "RequestHeadParser.h"
#include "TlsServer.h"
#include "platform/Failure.h"

namespace vantorel::service {

namespace {

constexpr std::size_t kReceiveBlock = 16384;
constexpr std::size_t kFileBlock = 65536;
constexpr int kLingerMs = 1000;
constexpr std::size_t kMostDrained = 1 << 20;

std::string addressText(const sockaddr_in& address) {
    char host[INET_ADDRSTRLEN] = {};
    ::inet_ntop(AF_INET, &address.sin_addr, host, sizeof host);
    return std::string(host) + ":" + std::to_string(ntohs(address.sin_port));
}

// The head goes out together with the file's first block.
bool sendFile(ConnectionStream& stream, const std::string& head, const OpenFile& file) {
    std::string block(kFileBlock, '\0');
    std::uint64_t left = file.size();
    off_t offset = 0;
    std::string_view pendingHead = head;
    if (left == 0) return stream.sendAll(head);
    while (left > 0) {
        const std::size_t want = left < kFileBlock ? static_cast<std::size_t>(left) : kFileBlock;
        const ssize_t got = ::pread(file.descriptor(), block.data(), want, offset);
        if (got < 0 && errno == EINTR) continue;
        // A file cut short after its length went out cannot be mended: the
        // connection is dropped, so the client sees a short body, not junk.
        if (got <= 0) return false;
        if (!stream.sendAll(pendingHead, {block.data(), static_cast<std::size_t>(got)}))
            return false;
        pendingHead = {};
        offset += got;
        left -= static_cast<std::uint64_t>(got);
    }
    return true;
}

std::string httpDate() {
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
    gmtime_r(&now, &utc);
    char text[64];
    std::strftime(text, sizeof text, "%a, %d %b %Y %H:%M:%S GMT", &utc);
    return text;
}

}  // namespace

sockaddr_in HttpServer::parseListenAddress(const std::string& text) {
    std::string host = "127.0.0.1";
    std::string port = text;
    if (const std::size_t colon = text.rfind(':'); colon != std::string::npos) {
        host = text.substr(0, colon);
        port = text.substr(colon + 1);
    }
    if (host == "localhost") host = "127.0.0.1";
    sockaddr_in address{};
    address.sin_family = AF_INET;
    if (::inet_pton(AF_INET, host.c_str(), &address.sin_addr) != 1) {
        throw Failure("Not an IPv4 listen address: " + text);
    }
    if (port.empty() || port.size() > 5 ||
        port.find_first_not_of("0123456789") != std::string::npos || std::stoul(port) > 65535) {
        throw Failure("Not a port number in the listen address: " + text);
    }
    address.sin_port = htons(static_cast<std::uint16_t>(std::stoul(port)));
    return address;
}

HttpServer::HttpServer(const std::string& listenAddress, Handler handler, RequestLog& log,
                       const TlsServer* tls)
    : handler_(std::move(handler)), log_(log), tls_(tls) {
    sockaddr_in address = parseListenAddress(listenAddress);
    listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (listener_ < 0)
        throw Failure(std::string("Cannot create a socket: ") + std::strerror(errno));
    const int on = 1;
    ::setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    if (::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listener_, SOMAXCONN) != 0) {
        const std::string reason = std::strerror(errno);
        ::close(listener_);
        throw Failure("Cannot listen on " + listenAddress + ": " + reason);
    }
    socklen_t length = sizeof address;
    ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
    address_ = addressText(address);
    int pipeEnds[2];
    if (::pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) != 0) {
        ::close(listener_);
        throw Failure("Cannot create the wake-up pipe");
    }
    wakeRead_ = pipeEnds[0];
    wakeWrite_ = pipeEnds[1];
}

HttpServer::~HttpServer() {
    ::close(listener_);
    ::close(wakeRead_);
    ::close(wakeWrite_);
}

void HttpServer::stop() {
    const char byte = 0;
    [[maybe_unused]] const ssize_t ignored = ::write(wakeWrite_, &byte, 1);
}

void HttpServer::run() {
    while (true) {
        pollfd entries[2] = {{listener_, POLLIN, 0}, {wakeRead_, POLLIN, 0}};
        if (::poll(entries, 2, -1) < 0) {
            if (errno == EINTR) continue;
            break;
        }
        if (entries[1].revents != 0) break;
        if ((entries[0].revents & POLLIN) == 0) continue;
        sockaddr_in peerAddress{};
        socklen_t length = sizeof peerAddress;
        const int socket =
            ::accept4(listener_, reinterpret_cast<sockaddr*>(&peerAddress), &length, SOCK_CLOEXEC);
        if (socket < 0) {
            // Out of descriptors and the like: do not spin on the error.
            if (errno != EINTR && errno != EAGAIN && errno != ECONNABORTED) {
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
            }
            continue;
        }
        sockaddr_in localAddress{};
        length = sizeof localAddress;
        ::getsockname(socket, reinterpret_cast<sockaddr*>(&localAddress), &length);
        const std::string peer = addressText(peerAddress);
        const std::string local = addressText(localAddress);
        // Replies leave whole (see sendAll); nothing is held back for more.
        const int on = 1;
        ::setsockopt(socket, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
        {
            std::lock_guard lock(mutex_);
            if (counted_ >= kMostConnections && !makeRoom()) {
                static constexpr char kBusy[] =
                    "HTTP/1.1 503 Service Unavailable\r\nContent-Length: 0\r\n"
                    "Connection: close\r\nRetry-After: 1\r\n\r\n";
                ::send(socket, kBusy, sizeof kBusy - 1, MSG_NOSIGNAL | MSG_DONTWAIT);
                ::close(socket);
                log_.note("refused " + peer + ": too many connections");
                continue;
            }
            open_[socket] = Connection{peer, true, false, std::chrono::steady_clock::now()};
            ++counted_;
        }
        try {
            std::thread([this, socket, peer, local] {
                serveConnection(socket, peer, local);
            }).detach();
        } catch (const std::exception&) {
            connectionEnded(socket);
        }
    }
    // Wake every connection thread out of its wait and let it finish.
    std::unique_lock lock(mutex_);
    for (const auto& entry : open_) ::shutdown(entry.first, SHUT_RDWR);
    ended_.wait_for(lock, std::chrono::seconds(5), [this] { return open_.empty(); });
}

bool HttpServer::makeRoom() {
    // The connection that has waited longest for a request head: idle
    // keep-alive connections and heads sent by halves go first, and one that
    // is answering a request is never cut.
    auto oldest = open_.end();
    for (auto it = open_.begin(); it != open_.end(); ++it) {
        if (!it->second.waiting || it->second.closing) continue;
        if (oldest == open_.end() || it->second.waitingSince < oldest->second.waitingSince)
            oldest = it;
    }
    if (oldest == open_.end()) return false;
    // Its thread wakes up, finds the connection ended and leaves.
    ::shutdown(oldest->first, SHUT_RDWR);
    oldest->second.closing = true;
    --counted_;
    log_.note("closed the longest waiting connection from " + oldest->second.peer +
              " to make room");
    return true;
}

void HttpServer::setWaiting(int socket, bool waiting) {
    std::lock_guard lock(mutex_);
    const auto it = open_.find(socket);
    if (it == open_.end()) return;
    it->second.waiting = waiting;
    if (waiting) it->second.waitingSince = std::chrono::steady_clock::now();
}

void HttpServer::connectionEnded(int socket) {
    // Closed under the lock: the number may be handed to the next connection
    // as soon as it is free, and that one must not lose its entry.
    std::lock_guard lock(mutex_);
    ::close(socket);
    const auto it = open_.find(socket);
    if (it != open_.end()) {
        if (!it->second.closing) --counted_;
        open_.erase(it);
    }
    ended_.notify_all();
}

void HttpServer::answer(ConnectionStream& stream, const std::string& peer,
                        const std::string& requestLine, HttpResponse& response, bool headOnly,
                        bool keepAlive, const std::string& version) {
    std::string head = "HTTP/1.1 " + std::to_string(response.status) + " " + response.reason +
                       "\r\nServer: vantorel-service\r\nDate: " + httpDate() +
                       "\r\nContent-Length: " + std::to_string(response.bodySize()) + "\r\n";
    if (!keepAlive) {
        head += "Connection: close\r\n";
    } else if (version == "HTTP/1.0") {
        head += "Connection: keep-alive\r\n";
    }
    for (const auto& [name, value] : response.headers) head += name + ": " + value + "\r\n";
    head += "\r\n";
    const bool bodyWanted = !headOnly && response.bodySize() > 0;
    bool sent;
    if (!bodyWanted) {
        sent = stream.sendAll(head);
    } else if (response.file.isOpen()) {
        sent = sendFile(stream, head, response.file);
    } else {
        sent = stream.sendAll(head, response.sharedBody ? *response.sharedBody : response.body);
    }
    log_.request(peer, requestLine, response.status, bodyWanted ? response.bodySize() : 0);
    if (!sent) response.closeAfter = true;
}

void HttpServer::serveConnection(int socket, const std::string& peer, const std::string& local) {
    std::unique_ptr<ConnectionStream> stream;
    if (tls_ == nullptr) {
        stream = makePlainStream(socket, kSendTimeoutMs);
    } else {
        std::string reason;
        stream = tls_->accept(socket, kHeadTimeoutMs, kSendTimeoutMs, reason);
        if (!stream) {
            log_.note("connection from " + peer + " dropped: " + reason);
            connectionEnded(socket);
            return;
        }
    }
    std::string received;
    char block[kReceiveBlock];
    auto headStarted = std::chrono::steady_clock::now();
    try {
        while (true) {
            const auto outcome = RequestHeadParser::parse(
                received,
                longestRequestLine_ ? longestRequestLine_ : RequestHeadParser::kLongestRequestLine);
            if (outcome.state == RequestHeadParser::State::NeedMore) {
                int timeoutMs = kIdleTimeoutMs;
                if (!received.empty()) {
                    const auto spent = std::chrono::duration_cast<std::chrono::milliseconds>(
                                           std::chrono::steady_clock::now() - headStarted)
                                           .count();
                    timeoutMs = static_cast<int>(kHeadTimeoutMs - spent);
                }
                if (timeoutMs <= 0 || !stream->waitReadable(timeoutMs)) {
                    if (!received.empty()) {
                        HttpResponse late = HttpResponse::text(
                            408, "Request Timeout", "The request head did not arrive in time.\n");
                        answer(*stream, peer, received.substr(0, received.find('\n')), late, false,
                               false, "HTTP/1.1");
                    }
                    break;
                }
                const long got = stream->receive(block, sizeof block);
                if (got == ConnectionStream::kAgain) continue;
                if (got <= 0) break;
                if (received.empty()) headStarted = std::chrono::steady_clock::now();
                received.append(block, static_cast<std::size_t>(got));
                continue;
            }
            if (outcome.state == RequestHeadParser::State::Rejected) {
                HttpResponse refusal =
                    HttpResponse::text(outcome.status, outcome.reason, outcome.detail + "\n");
                if (outcome.status == 405) refusal.headers.emplace_back("Allow", "GET, HEAD");
                std::string firstLine = received.substr(0, received.find('\n'));
                if (!firstLine.empty() && firstLine.back() == '\r') firstLine.pop_back();
                answer(*stream, peer, firstLine, refusal, outcome.request.method == "HEAD", false,
                       "HTTP/1.1");
                break;
            }
            setWaiting(socket, false);
            const HttpRequest& request = outcome.request;
            HttpResponse response;
            try {
                response = handler_(request, local);
            } catch (const std::exception& failure) {
                log_.note("failure while answering " + peer + ": " + failure.what());
                response = HttpResponse::text(500, "Internal Server Error", "Internal error.\n");
                response.closeAfter = true;
            }
            const bool keepAlive = request.keepAlive() && !response.closeAfter;
            answer(*stream, peer, request.requestLine, response, request.method == "HEAD",
                   keepAlive, request.version);
            if (!keepAlive || response.closeAfter) break;
            received.erase(0, outcome.consumed);
            headStarted = std::chrono::steady_clock::now();
            setWaiting(socket, true);
        }
    } catch (const std::exception& failure) {
        log_.note("connection from " + peer + " dropped: " + failure.what());
    }
    // Closing with unread input would reset the connection and could take
    // the refusal just sent with it, so the rest is read and dropped first.
    stream->finishSending();
    const auto lingerEnd = std::chrono::steady_clock::now() + std::chrono::milliseconds(kLingerMs);
    std::size_t drained = 0;
    while (drained < kMostDrained && std::chrono::steady_clock::now() < lingerEnd &&
           stream->waitReadable(kLingerMs)) {
        const long got = stream->receive(block, sizeof block);
        if (got == ConnectionStream::kAgain) continue;
        if (got <= 0) break;
        drained += static_cast<std::size_t>(got);
    }
    stream.reset();
    connectionEnded(socket);
}

}  // namespace vantorel::service
