#pragma once

#include <cstdint>
#include <string>

#include "support/NativeSocket.h"

namespace vantorel::test {

// A listening TCP socket on 127.0.0.1 with an ephemeral port, for tests of
// the socket layer. It uses the platform's own calls, not the layer under test.
class LoopbackListener {
public:
#ifdef _WIN32
    using Native = SOCKET;
    static constexpr Native kNone = INVALID_SOCKET;
#else
    using Native = int;
    static constexpr Native kNone = -1;
#endif

    LoopbackListener() {
#ifdef _WIN32
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
#endif
        listener_ = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in local{};
        local.sin_family = AF_INET;
        local.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        local.sin_port = 0;
        ::bind(listener_, reinterpret_cast<sockaddr*>(&local), sizeof local);
        ::listen(listener_, 4);
        socklen_t length = sizeof local;
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&local), &length);
        port_ = ntohs(local.sin_port);
    }
    ~LoopbackListener() {
        closePeer();
        closeListener();
#ifdef _WIN32
        WSACleanup();
#endif
    }
    LoopbackListener(const LoopbackListener&) = delete;
    LoopbackListener& operator=(const LoopbackListener&) = delete;

    std::uint16_t port() const {
        return port_;
    }

    // Takes the next waiting connection; false when none could be taken.
    bool accept() {
        closePeer();
        peer_ = ::accept(listener_, nullptr, nullptr);
        return peer_ != kNone;
    }
    void send(const std::string& data) {
        ::send(peer_, data.data(), static_cast<int>(data.size()), 0);
    }
    std::string receive(std::size_t atMost) {
        std::string data(atMost, '\0');
        const auto got = ::recv(peer_, data.data(), static_cast<int>(atMost), 0);
        data.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
        return data;
    }
    void closePeer() {
        close(peer_);
    }
    // After this, connects to port() are refused.
    void closeListener() {
        close(listener_);
    }

private:
    static void close(Native& socket) {
        if (socket == kNone) return;
#ifdef _WIN32
        ::closesocket(socket);
#else
        ::close(socket);
#endif
        socket = kNone;
    }

    Native listener_ = kNone;
    Native peer_ = kNone;
    std::uint16_t port_ = 0;
};

}  // namespace vantorel::test
