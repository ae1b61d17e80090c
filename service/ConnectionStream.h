#pragma once

#include <cstddef>
#include <memory>
#include <string_view>

namespace vantorel::service {

// The bytes of one accepted connection, plain or under TLS: the server reads
// and writes through this and never touches the socket itself.
class ConnectionStream {
public:
    // What receive() gives when nothing could be taken yet: wait and try again.
    static constexpr long kAgain = -2;

    virtual ~ConnectionStream() = default;

    // False on a time-out or an error.
    virtual bool waitReadable(int timeoutMs) = 0;
    // Bytes taken (> 0), 0 when the peer closed, kAgain, or -1 on an error.
    virtual long receive(char* data, std::size_t size) = 0;
    // Sends `first` and then `second` as one stream; false when the peer is
    // gone or a wait for room lasts longer than the send time-out.
    virtual bool sendAll(std::string_view first, std::string_view second = {}) = 0;
    // Ends our side: a TLS close_notify, then a TCP half-close.
    virtual void finishSending() = 0;
};

// Waits for `events` on the socket; false on a time-out or error. Retried on EINTR.
bool waitForSocket(int socket, short events, int timeoutMs);

// The plain stream over a connected socket (which the caller closes).
std::unique_ptr<ConnectionStream> makePlainStream(int socket, int sendTimeoutMs);

}  // namespace vantorel::service
