#include "ConnectionStream.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/uio.h>

#include <algorithm>
#include <cerrno>
#include <chrono>

namespace vantorel::service {

bool waitForSocket(int socket, short events, int timeoutMs) {
    pollfd entry{socket, events, 0};
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (true) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                              deadline - std::chrono::steady_clock::now())
                              .count();
        const int ready = ::poll(&entry, 1, left > 0 ? static_cast<int>(left) : 0);
        if (ready > 0) return true;
        if (ready == 0) return false;
        if (errno != EINTR) return false;
    }
}

namespace {

class PlainStream : public ConnectionStream {
public:
    PlainStream(int socket, int sendTimeoutMs) : socket_(socket), sendTimeoutMs_(sendTimeoutMs) {}

    bool waitReadable(int timeoutMs) override { return waitForSocket(socket_, POLLIN, timeoutMs); }

    long receive(char* data, std::size_t size) override {
        const ssize_t got = ::recv(socket_, data, size, 0);
        if (got < 0 && errno == EINTR) return kAgain;
        return got;
    }

    // In as few calls as the socket allows: a head sent on its own would make
    // the body wait for the peer's delayed acknowledgement, about 40 ms a reply.
    bool sendAll(std::string_view first, std::string_view second) override {
        iovec parts[2] = {{const_cast<char*>(first.data()), first.size()},
                          {const_cast<char*>(second.data()), second.size()}};
        std::size_t at = parts[0].iov_len == 0 ? 1 : 0;
        while (at < 2 && parts[at].iov_len > 0) {
            if (!waitForSocket(socket_, POLLOUT, sendTimeoutMs_)) return false;
            msghdr message{};
            message.msg_iov = parts + at;
            message.msg_iovlen = 2 - at;
            const ssize_t sent = ::sendmsg(socket_, &message, MSG_NOSIGNAL | MSG_DONTWAIT);
            if (sent < 0) {
                if (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK) continue;
                return false;
            }
            for (auto done = static_cast<std::size_t>(sent); done > 0 && at < 2;) {
                const std::size_t taken = std::min(done, parts[at].iov_len);
                parts[at].iov_base = static_cast<char*>(parts[at].iov_base) + taken;
                parts[at].iov_len -= taken;
                done -= taken;
                if (parts[at].iov_len == 0) ++at;
            }
        }
        return true;
    }

    void finishSending() override { ::shutdown(socket_, SHUT_WR); }

private:
    int socket_;
    int sendTimeoutMs_;
};

}  // namespace

std::unique_ptr<ConnectionStream> makePlainStream(int socket, int sendTimeoutMs) {
    return std::make_unique<PlainStream>(socket, sendTimeoutMs);
}

}  // namespace vantorel::service
