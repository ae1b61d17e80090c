#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace vantorel {

// What one receive brought: bytes, the peer's close, nothing within the
// time limit, or a socket error (a Windows Sockets number).
struct ReceiveResult {
    enum class Status { Data, Closed, TimedOut, Failed };
    Status status = Status::TimedOut;
    std::size_t size = 0;
    int error = 0;

    static ReceiveResult failed(int error) {
        ReceiveResult result;
        result.status = Status::Failed;
        result.error = error;
        return result;
    }
};

// One byte-stream connection. The HTTP client talks to the network only
// through this seam, so tests and the fuzz target can script the peer.
class Transport {
public:
    virtual ~Transport() = default;

    // Makes the connection or throws Failure with the innermost message
    // ("Connect timed out.", "Socket Error # ..."); nothing is left open then.
    virtual void connect(const std::string& host, std::uint16_t port, int connectTimeout) = 0;

    // Waits at most `milliseconds` (negative: without limit) for data.
    virtual ReceiveResult receive(char* data, std::size_t capacity, int milliseconds) = 0;

    // Returns 0 or a socket error; may send less than asked.
    virtual int send(const char* data, std::size_t size, std::size_t& sent) = 0;

    // Shuts down sending and closes; harmless when not connected.
    virtual void close() = 0;
};

}  // namespace vantorel
