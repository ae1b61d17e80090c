#pragma once

// The few socket calls the test servers make, on POSIX and on Windows
// Sockets alike. Handles travel as int: Windows socket handles fit in 32 bits
// (the system keeps them so for 32-bit programs).
#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

#include <cstddef>

namespace vantorel::test::native {

#ifdef _WIN32
inline SOCKET handle(int socket) {
    return static_cast<SOCKET>(static_cast<unsigned>(socket));
}
#endif

// An IPv4 stream socket, not inherited by child processes; -1 on failure.
inline int openStream(bool nonBlocking = false) {
#ifdef _WIN32
    static const bool started = [] {
        WSADATA data;
        return WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    if (!started) return -1;
    const SOCKET created = ::WSASocketW(AF_INET, SOCK_STREAM, IPPROTO_TCP, nullptr, 0,
                                        WSA_FLAG_OVERLAPPED | WSA_FLAG_NO_HANDLE_INHERIT);
    if (created == INVALID_SOCKET) return -1;
    if (nonBlocking) {
        u_long on = 1;
        ::ioctlsocket(created, FIONBIO, &on);
    }
    return static_cast<int>(created);
#else
    return ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | (nonBlocking ? SOCK_NONBLOCK : 0), 0);
#endif
}

inline int acceptFrom(int listener) {
#ifdef _WIN32
    const SOCKET accepted = ::accept(handle(listener), nullptr, nullptr);
    return accepted == INVALID_SOCKET ? -1 : static_cast<int>(accepted);
#else
    return ::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
#endif
}

// Waits for POLLIN or POLLOUT; true when it came within the time.
inline bool waitFor(int socket, short events, int milliseconds) {
#ifdef _WIN32
    WSAPOLLFD entry{handle(socket), events, 0};
    return ::WSAPoll(&entry, 1, milliseconds) > 0;
#else
    pollfd entry{socket, events, 0};
    return ::poll(&entry, 1, milliseconds) > 0;
#endif
}

// A send that reports a peer's close as a failure (no SIGPIPE).
inline long sendSome(int socket, const char* data, std::size_t size) {
#ifdef _WIN32
    return ::send(handle(socket), data, static_cast<int>(size), 0);
#else
    return static_cast<long>(::send(socket, data, size, MSG_NOSIGNAL));
#endif
}

inline long receiveSome(int socket, char* data, std::size_t size) {
#ifdef _WIN32
    return ::recv(handle(socket), data, static_cast<int>(size), 0);
#else
    return static_cast<long>(::recv(socket, data, size, 0));
#endif
}

inline void shutdownSending(int socket) {
#ifdef _WIN32
    ::shutdown(handle(socket), SD_SEND);
#else
    ::shutdown(socket, SHUT_WR);
#endif
}

// Makes the next close send a reset instead of an orderly end.
inline void setAbortiveClose(int socket) {
    const linger abortive{1, 0};
#ifdef _WIN32
    ::setsockopt(handle(socket), SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&abortive),
                 sizeof abortive);
#else
    ::setsockopt(socket, SOL_SOCKET, SO_LINGER, &abortive, sizeof abortive);
#endif
}

// A listener's port can be taken again at once (on Windows the option would
// let others take it while in use, so it is left alone there).
inline void setReuseAddress([[maybe_unused]] int socket) {
#ifndef _WIN32
    const int on = 1;
    ::setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
#endif
}

inline void closeSocket(int socket) {
    if (socket < 0) return;
#ifdef _WIN32
    ::closesocket(handle(socket));
#else
    ::close(socket);
#endif
}

}  // namespace vantorel::test::native
