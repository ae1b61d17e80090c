#include "platform/Socket.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

namespace vantorel {
namespace {

// Windows Sockets numbers are 10000 plus the classic BSD errno, whose values
// differ from Linux's, so the mapping goes by name.
int wsaNumber(int error) {
    switch (error) {
        case 0:
            return 0;
        case EINTR:
            return 10004;
        case EBADF:
            return 10009;
        case EACCES:
            return 10013;
        case EFAULT:
            return 10014;
        case EINVAL:
            return 10022;
        case EMFILE:
            return 10024;
        case ENFILE:
            return 10024;
        case EWOULDBLOCK:
            return 10035;
        case EINPROGRESS:
            return 10036;
        case EALREADY:
            return 10037;
        case ENOTSOCK:
            return 10038;
        case EDESTADDRREQ:
            return 10039;
        case EMSGSIZE:
            return 10040;
        case EPROTOTYPE:
            return 10041;
        case ENOPROTOOPT:
            return 10042;
        case EPROTONOSUPPORT:
            return 10043;
        case ESOCKTNOSUPPORT:
            return 10044;
        case EOPNOTSUPP:
            return 10045;
        case EPFNOSUPPORT:
            return 10046;
        case EAFNOSUPPORT:
            return 10047;
        case EADDRINUSE:
            return 10048;
        case EADDRNOTAVAIL:
            return 10049;
        case ENETDOWN:
            return 10050;
        case ENETUNREACH:
            return 10051;
        case ENETRESET:
            return 10052;
        case ECONNABORTED:
            return 10053;
        case ECONNRESET:
            return 10054;
        case ENOBUFS:
            return 10055;
        case ENOMEM:
            return 10055;
        case EISCONN:
            return 10056;
        case ENOTCONN:
            return 10057;
        case ESHUTDOWN:
            return 10058;
        // Sending after the peer's close: Windows reports the connection as shut down.
        case EPIPE:
            return 10058;
        case ETOOMANYREFS:
            return 10059;
        case ETIMEDOUT:
            return 10060;
        case ECONNREFUSED:
            return 10061;
        case ELOOP:
            return 10062;
        case ENAMETOOLONG:
            return 10063;
        case EHOSTDOWN:
            return 10064;
        case EHOSTUNREACH:
            return 10065;
        case ENOTEMPTY:
            return 10066;
        // No Windows Sockets counterpart: a number of our own, clear of theirs.
        default:
            return 10200 + error;
    }
}

int lastError() {
    return wsaNumber(errno);
}

int fd(SocketHandle handle) {
    return static_cast<int>(handle);
}

sockaddr_in peerAddress(Ipv4Address address, std::uint16_t port) {
    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_port = htons(port);
    peer.sin_addr.s_addr = address;
    return peer;
}

int setBlocking(SocketHandle handle, bool blocking) {
    const int flags = ::fcntl(fd(handle), F_GETFL, 0);
    if (flags < 0) return lastError();
    const int wanted = blocking ? (flags & ~O_NONBLOCK) : (flags | O_NONBLOCK);
    if (wanted != flags && ::fcntl(fd(handle), F_SETFL, wanted) < 0) return lastError();
    return 0;
}

// poll, retried on EINTR with the time that is left.
int pollFor(SocketHandle handle, short events, int milliseconds, bool& ready) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(milliseconds);
    ready = false;
    for (;;) {
        int wait = milliseconds;
        if (milliseconds > 0) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            wait = left.count() > 0 ? static_cast<int>(left.count()) : 0;
        }
        pollfd entry{fd(handle), events, 0};
        const int result = ::poll(&entry, 1, milliseconds < 0 ? -1 : wait);
        if (result >= 0) {
            ready = result > 0;
            return 0;
        }
        if (errno != EINTR) return lastError();
    }
}

}  // namespace

int createStreamSocket(SocketHandle& handle) {
    const int created = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, IPPROTO_TCP);
    if (created < 0) {
        handle = kNoSocket;
        return lastError();
    }
    handle = created;
    return 0;
}

int bindToAnyAddress(SocketHandle handle) {
    sockaddr_in local = peerAddress(htonl(INADDR_ANY), 0);
    if (::bind(fd(handle), reinterpret_cast<sockaddr*>(&local), sizeof local) < 0)
        return lastError();
    return 0;
}

int resolveIPv4(const std::string& host, Ipv4Address& address) {
    in_addr parsed{};
    // inet_aton reads exactly the classic dotted forms, including a single number.
    if (::inet_aton(host.c_str(), &parsed) != 0) {
        address = parsed.s_addr;
        return 0;
    }
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    const int result = ::getaddrinfo(host.c_str(), nullptr, &hints, &found);
    if (result != 0) {
        switch (result) {
            case EAI_NONAME:
                return kSocketHostNotFound;
            case EAI_AGAIN:
                return 11002;
            case EAI_NODATA:
                return 11004;
            case EAI_ADDRFAMILY:
                return 11004;
            case EAI_MEMORY:
                return 10055;
            case EAI_SYSTEM:
                return lastError();
            default:
                return 11003;
        }
    }
    address = reinterpret_cast<sockaddr_in*>(found->ai_addr)->sin_addr.s_addr;
    ::freeaddrinfo(found);
    return 0;
}

int connectSocket(SocketHandle handle, Ipv4Address address, std::uint16_t port) {
    sockaddr_in peer = peerAddress(address, port);
    if (::connect(fd(handle), reinterpret_cast<sockaddr*>(&peer), sizeof peer) == 0) return 0;
    if (errno != EINTR) return lastError();
    // An interrupted blocking connect goes on in the background: wait for it.
    bool finished = false;
    int result = 0;
    while (!finished) {
        result = pollFor(handle, POLLOUT, -1, finished);
        if (result != 0) return result;
    }
    int error = 0;
    socklen_t length = sizeof error;
    if (::getsockopt(fd(handle), SOL_SOCKET, SO_ERROR, &error, &length) < 0) return lastError();
    return wsaNumber(error);
}

int startConnect(SocketHandle handle, Ipv4Address address, std::uint16_t port) {
    if (int result = setBlocking(handle, false)) return result;
    sockaddr_in peer = peerAddress(address, port);
    if (::connect(fd(handle), reinterpret_cast<sockaddr*>(&peer), sizeof peer) == 0)
        return setBlocking(handle, true);
    if (errno == EINPROGRESS || errno == EINTR) return kSocketInProgress;
    const int error = lastError();
    setBlocking(handle, true);
    return error;
}

int awaitConnect(SocketHandle handle, int milliseconds, bool& finished) {
    finished = false;
    if (int result = pollFor(handle, POLLOUT, milliseconds < 0 ? 0 : milliseconds, finished))
        return result;
    if (!finished) return 0;
    int error = 0;
    socklen_t length = sizeof error;
    if (::getsockopt(fd(handle), SOL_SOCKET, SO_ERROR, &error, &length) < 0) error = errno;
    const int restored = setBlocking(handle, true);
    return error != 0 ? wsaNumber(error) : restored;
}

int waitReadable(SocketHandle handle, int milliseconds, bool& readable) {
    return pollFor(handle, POLLIN, milliseconds, readable);
}

namespace {

int receiveWith(SocketHandle handle, char* data, std::size_t capacity, std::size_t& received,
                int flags) {
    received = 0;
    for (;;) {
        const ssize_t got = ::recv(fd(handle), data, capacity, flags);
        if (got >= 0) {
            received = static_cast<std::size_t>(got);
            return 0;
        }
        if (errno != EINTR) return lastError();
    }
}

}  // namespace

int receiveBytes(SocketHandle handle, char* data, std::size_t capacity, std::size_t& received) {
    return receiveWith(handle, data, capacity, received, 0);
}

int receiveWaiting(SocketHandle handle, char* data, std::size_t capacity, std::size_t& received) {
    return receiveWith(handle, data, capacity, received, MSG_DONTWAIT);
}

int sendBytes(SocketHandle handle, const char* data, std::size_t size, std::size_t& sent) {
    sent = 0;
    for (;;) {
        // MSG_NOSIGNAL: a peer's close must come back as an error, not kill the process.
        const ssize_t put = ::send(fd(handle), data, size, MSG_NOSIGNAL);
        if (put >= 0) {
            sent = static_cast<std::size_t>(put);
            return 0;
        }
        if (errno != EINTR) return lastError();
    }
}

void shutdownSending(SocketHandle handle) {
    if (handle != kNoSocket) ::shutdown(fd(handle), SHUT_WR);
}

void closeSocket(SocketHandle handle) {
    if (handle != kNoSocket) ::close(fd(handle));
}

}  // namespace vantorel
