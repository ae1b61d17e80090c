#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace vantorel {

// Thin layer over the platform's IPv4 stream sockets. Every call reports its
// outcome as a Windows Sockets error number (0 = success), because those
// numbers are what the user reads in the HTTP client's messages; a backend
// maps its own codes onto them.
using SocketHandle = std::intptr_t;
inline constexpr SocketHandle kNoSocket = -1;

// Numbers the client treats specially.
inline constexpr int kSocketBadHandle = 10009;
inline constexpr int kSocketWouldBlock = 10035;
inline constexpr int kSocketInProgress = 10036;
inline constexpr int kSocketNotSocket = 10038;
inline constexpr int kSocketAddressInUse = 10048;
inline constexpr int kSocketConnectionAborted = 10053;
inline constexpr int kSocketConnectionReset = 10054;
inline constexpr int kSocketShutDown = 10058;
inline constexpr int kSocketHostNotFound = 11001;

// An IPv4 address in network byte order.
using Ipv4Address = std::uint32_t;

int createStreamSocket(SocketHandle& handle);

// Binds to any local address and an ephemeral port.
int bindToAnyAddress(SocketHandle handle);

// Dotted text (four, three or two parts, or one 32-bit number) is taken as it
// stands; any other name goes to the platform's host lookup (first IPv4
// address). An unknown name gives kSocketHostNotFound.
int resolveIPv4(const std::string& host, Ipv4Address& address);

// A blocking connect without a time limit.
int connectSocket(SocketHandle handle, Ipv4Address address, std::uint16_t port);

// A connect the caller can give up on: startConnect returns 0 when already
// connected, kSocketInProgress when awaitConnect must follow, or an error.
// awaitConnect waits at most `milliseconds`; once `finished`, it returns the
// connect's own outcome and the socket is blocking again.
int startConnect(SocketHandle handle, Ipv4Address address, std::uint16_t port);
int awaitConnect(SocketHandle handle, int milliseconds, bool& finished);

// Waits for incoming data or the peer's close; a negative limit waits forever.
int waitReadable(SocketHandle handle, int milliseconds, bool& readable);

// `received` 0 means the peer closed the connection.
int receiveBytes(SocketHandle handle, char* data, std::size_t capacity, std::size_t& received);
// As receiveBytes, but returns kSocketWouldBlock at once when nothing waits:
// while data streams in, this saves a wait call per block.
int receiveWaiting(SocketHandle handle, char* data, std::size_t capacity, std::size_t& received);

// May send less than asked; the caller continues with the rest.
int sendBytes(SocketHandle handle, const char* data, std::size_t size, std::size_t& sent);

// Closing never reports failure: nothing the caller could do about it.
void shutdownSending(SocketHandle handle);
void closeSocket(SocketHandle handle);

}  // namespace vantorel
