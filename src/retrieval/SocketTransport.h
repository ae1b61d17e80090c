#pragma once

#include <functional>

#include "platform/Socket.h"
#include "retrieval/Transport.h"

namespace vantorel {

// A Transport over the platform's IPv4 stream sockets.
class SocketTransport : public Transport {
public:
    // Host lookup; replaceable so tests never depend on a name server.
    using Resolver = std::function<int(const std::string& host, Ipv4Address& address)>;

    explicit SocketTransport(Resolver resolver = resolveIPv4);
    ~SocketTransport() override;
    SocketTransport(const SocketTransport&) = delete;
    SocketTransport& operator=(const SocketTransport&) = delete;

    void connect(const std::string& host, std::uint16_t port, int connectTimeout) override;
    ReceiveResult receive(char* data, std::size_t capacity, int milliseconds) override;
    int send(const char* data, std::size_t size, std::size_t& sent) override;
    void close() override;

    // The connect time-out is watched in steps of this length.
    static constexpr int kConnectStepMilliseconds = 125;

private:
    int connectWithin(Ipv4Address address, std::uint16_t port, int connectTimeout);

    Resolver resolver_;
    SocketHandle handle_ = kNoSocket;
};

}  // namespace vantorel
