#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "retrieval/InputBuffer.h"
#include "retrieval/TlsTransport.h"
#include "retrieval/Transport.h"

namespace vantorel {

// The client's connection state: the transport (or none), the host and port
// it was opened for, the input buffer and the flag telling that the peer has
// closed. Read waits take the client's ReadTimeout convention: 0 waits
// without limit, a negative value times out at once.
class TcpConnection {
public:
    using TransportFactory = std::function<std::unique_ptr<Transport>()>;
    // Puts TLS over a new, not yet connected stream; null: no TLS here.
    using TlsWrapper = std::function<std::unique_ptr<TlsTransport>(std::unique_ptr<Transport>)>;

    explicit TcpConnection(TransportFactory factory);
    ~TcpConnection();
    TcpConnection(const TcpConnection&) = delete;
    TcpConnection& operator=(const TcpConnection&) = delete;

    bool isOpen() const { return transport_ != nullptr; }
    bool encrypted() const { return tls_ != nullptr; }
    bool closedByPeer() const { return closedByPeer_; }
    const std::string& host() const { return host_; }
    std::uint16_t port() const { return port_; }

    // Empties the buffer, clears the closed flag and connects; with `tls`
    // the stream is wrapped first and handshake() must follow.
    void open(const std::string& host, std::uint16_t port, int connectTimeout,
              const TlsWrapper& tls = {});
    // The TLS handshake of an encrypted connection; closes it on failure.
    void handshake(const std::string& host, int readTimeout);
    // Shuts down sending and closes; unread bytes stay in the buffer.
    void close();

    // A receive that waits at most 1 ms: takes in bytes already waiting and
    // notices a close by the server.
    void probe();

    void sendAll(const std::string& bytes);

    // One line up to a line feed, a carriage return before it removed; lines
    // longer than maxLength bytes before the line feed fail. Empty when the
    // peer closed before a whole line arrived.
    std::optional<std::string> readLine(int readTimeout, std::size_t maxLength);

    // Receives one block into the buffer; false once the peer has closed.
    bool receiveMore(int readTimeout);

    InputBuffer& buffer() { return buffer_; }

private:
    void closeByPeer();

    TransportFactory factory_;
    std::unique_ptr<Transport> transport_;
    TlsTransport* tls_ = nullptr;  // transport_ itself when encrypted
    std::string host_;
    std::uint16_t port_ = 0;
    InputBuffer buffer_;
    bool closedByPeer_ = false;
};

}  // namespace vantorel
