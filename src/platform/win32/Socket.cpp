#include "../Socket.h"

#include <winsock2.h>

#include <climits>
#include <cstring>
#include <string>

#include "Winsock.h"

namespace vantorel {
namespace {

using win32::need;
using win32::winsock;

SOCKET native(SocketHandle handle) {
    return static_cast<SOCKET>(handle);
}

// Windows Sockets numbers come straight from the library.
int lastError() {
    return need(winsock().WSAGetLastError, "WSAGetLastError")();
}

// Network byte order; every Windows target is little-endian.
std::uint16_t networkPort(std::uint16_t port) {
    return static_cast<std::uint16_t>((port >> 8) | (port << 8));
}

sockaddr_in peerAddress(Ipv4Address address, std::uint16_t port) {
    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_port = networkPort(port);
    peer.sin_addr.s_addr = address;
    return peer;
}

int setBlocking(SocketHandle handle, bool blocking) {
    u_long nonBlocking = blocking ? 0 : 1;
    if (need(winsock().ioctlsocket, "ioctlsocket")(native(handle), FIONBIO, &nonBlocking) ==
        SOCKET_ERROR)
        return lastError();
    return 0;
}

// FD_ISSET calls into the library by a name of its own; the set is plain data.
bool inSet(const fd_set& set, SocketHandle handle) {
    for (u_int i = 0; i < set.fd_count; ++i)
        if (set.fd_array[i] == native(handle)) return true;
    return false;
}

void putInSet(fd_set& set, SocketHandle handle) {
    set.fd_count = 1;
    set.fd_array[0] = native(handle);
}

timeval interval(int milliseconds) {
    timeval limit{};
    limit.tv_sec = milliseconds / 1000;
    limit.tv_usec = (milliseconds % 1000) * 1000;
    return limit;
}

int pendingError(SocketHandle handle, int& error) {
    error = 0;
    int length = sizeof error;
    if (need(winsock().getsockopt, "getsockopt")(native(handle), SOL_SOCKET, SO_ERROR,
                                                 reinterpret_cast<char*>(&error),
                                                 &length) == SOCKET_ERROR)
        return lastError();
    return 0;
}

// Classic dotted text: one to four parts, each decimal, octal (leading 0) or
// hexadecimal (0x); the last part fills the bytes that are left.
bool parseDottedAddress(const std::string& text, Ipv4Address& address) {
    std::uint32_t parts[4] = {};
    std::size_t count = 0;
    std::size_t pos = 0;
    if (text.empty()) return false;
    for (;;) {
        if (count == 4 || pos >= text.size()) return false;
        unsigned base = 10;
        if (text[pos] == '0') {
            base = 8;
            if (pos + 1 < text.size() && (text[pos + 1] == 'x' || text[pos + 1] == 'X')) {
                base = 16;
                pos += 2;
            }
        }
        std::uint64_t value = 0;
        std::size_t digits = 0;
        for (; pos < text.size() && text[pos] != '.'; ++pos, ++digits) {
            const char c = text[pos];
            unsigned digit;
            if (c >= '0' && c <= '9')
                digit = static_cast<unsigned>(c - '0');
            else if (c >= 'a' && c <= 'f')
                digit = static_cast<unsigned>(c - 'a' + 10);
            else if (c >= 'A' && c <= 'F')
                digit = static_cast<unsigned>(c - 'A' + 10);
            else
                return false;
            if (digit >= base) return false;
            value = value * base + digit;
            if (value > 0xffffffffULL) return false;
        }
        if (digits == 0 && base != 8) return false;  // "0x" alone, or an empty part
        parts[count++] = static_cast<std::uint32_t>(value);
        if (pos >= text.size()) break;
        ++pos;  // the dot
    }
    std::uint32_t host = 0;
    const std::uint32_t last = parts[count - 1];
    const std::uint32_t room = count == 1 ? 0xffffffffu : 0xffffffffu >> (8 * (count - 1));
    if (last > room) return false;
    for (std::size_t i = 0; i + 1 < count; ++i) {
        if (parts[i] > 0xff) return false;
        host |= parts[i] << (24 - 8 * i);
    }
    host |= last;
    address =
        ((host & 0xff) << 24) | ((host & 0xff00) << 8) | ((host >> 8) & 0xff00) | (host >> 24);
    return true;
}

}  // namespace

int createStreamSocket(SocketHandle& handle) {
    handle = kNoSocket;
    const SOCKET created = need(winsock().socket, "socket")(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (created == INVALID_SOCKET) return lastError();
    // Programs the user opens from us must not inherit our connections.
    SetHandleInformation(reinterpret_cast<HANDLE>(created), HANDLE_FLAG_INHERIT, 0);
    handle = static_cast<SocketHandle>(created);
    return 0;
}

int bindToAnyAddress(SocketHandle handle) {
    sockaddr_in local = peerAddress(INADDR_ANY, 0);
    if (need(winsock().bind, "bind")(native(handle), reinterpret_cast<sockaddr*>(&local),
                                     sizeof local) == SOCKET_ERROR)
        return lastError();
    return 0;
}

int resolveIPv4(const std::string& host, Ipv4Address& address) {
    if (parseDottedAddress(host, address)) return 0;
    const hostent* entry = need(winsock().gethostbyname, "gethostbyname")(host.c_str());
    if (!entry) return lastError();
    if (entry->h_addrtype != AF_INET || entry->h_length != 4 || !entry->h_addr_list ||
        !entry->h_addr_list[0])
        return kSocketHostNotFound;
    std::memcpy(&address, entry->h_addr_list[0], sizeof address);
    return 0;
}

int connectSocket(SocketHandle handle, Ipv4Address address, std::uint16_t port) {
    sockaddr_in peer = peerAddress(address, port);
    if (need(winsock().connect, "connect")(native(handle), reinterpret_cast<sockaddr*>(&peer),
                                           sizeof peer) == SOCKET_ERROR)
        return lastError();
    return 0;
}

int startConnect(SocketHandle handle, Ipv4Address address, std::uint16_t port) {
    if (int result = setBlocking(handle, false)) return result;
    sockaddr_in peer = peerAddress(address, port);
    if (need(winsock().connect, "connect")(native(handle), reinterpret_cast<sockaddr*>(&peer),
                                           sizeof peer) != SOCKET_ERROR)
        return setBlocking(handle, true);
    const int error = lastError();
    if (error == WSAEWOULDBLOCK || error == WSAEINPROGRESS) return kSocketInProgress;
    setBlocking(handle, true);
    return error;
}

int awaitConnect(SocketHandle handle, int milliseconds, bool& finished) {
    finished = false;
    fd_set writable{}, failed{};
    putInSet(writable, handle);
    putInSet(failed, handle);
    timeval limit = interval(milliseconds < 0 ? 0 : milliseconds);
    const int ready = need(winsock().select, "select")(0, nullptr, &writable, &failed, &limit);
    if (ready == SOCKET_ERROR) return lastError();
    if (ready == 0) return 0;
    finished = true;
    // A refused connect shows in the failed set; its reason waits in SO_ERROR.
    int error = 0;
    if (int result = pendingError(handle, error)) error = result;
    if (error == 0 && inSet(failed, handle) && !inSet(writable, handle)) error = WSAECONNREFUSED;
    const int restored = setBlocking(handle, true);
    return error != 0 ? error : restored;
}

int waitReadable(SocketHandle handle, int milliseconds, bool& readable) {
    readable = false;
    fd_set incoming{};
    putInSet(incoming, handle);
    timeval limit = interval(milliseconds < 0 ? 0 : milliseconds);
    const int ready = need(winsock().select, "select")(0, &incoming, nullptr, nullptr,
                                                       milliseconds < 0 ? nullptr : &limit);
    if (ready == SOCKET_ERROR) return lastError();
    readable = ready > 0;
    return 0;
}

int receiveBytes(SocketHandle handle, char* data, std::size_t capacity, std::size_t& received) {
    received = 0;
    const int wanted = capacity > INT_MAX ? INT_MAX : static_cast<int>(capacity);
    const int got = need(winsock().recv, "recv")(native(handle), data, wanted, 0);
    if (got == SOCKET_ERROR) return lastError();
    received = static_cast<std::size_t>(got);
    return 0;
}

int receiveWaiting(SocketHandle handle, char* data, std::size_t capacity, std::size_t& received) {
    // Windows has no per-call "do not wait" flag: a zero wait tells whether
    // bytes (or the peer's close) are there, and only then is recv called.
    received = 0;
    bool readable = false;
    if (int result = waitReadable(handle, 0, readable)) return result;
    if (!readable) return kSocketWouldBlock;
    return receiveBytes(handle, data, capacity, received);
}

int sendBytes(SocketHandle handle, const char* data, std::size_t size, std::size_t& sent) {
    sent = 0;
    const int wanted = size > INT_MAX ? INT_MAX : static_cast<int>(size);
    const int put = need(winsock().send, "send")(native(handle), data, wanted, 0);
    if (put == SOCKET_ERROR) return lastError();
    sent = static_cast<std::size_t>(put);
    return 0;
}

void shutdownSending(SocketHandle handle) {
    if (handle != kNoSocket) need(winsock().shutdown, "shutdown")(native(handle), SD_SEND);
}

void closeSocket(SocketHandle handle) {
    if (handle != kNoSocket) need(winsock().closesocket, "closesocket")(native(handle));
}

}  // namespace vantorel
