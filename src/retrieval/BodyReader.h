#pragma once

#include <cstdint>
#include <string>

#include "retrieval/BodySink.h"
#include "retrieval/TcpConnection.h"
#include "retrieval/WorkCounter.h"

namespace vantorel {

// Reads a response body in its three framings and hands it to a sink block
// by block. Each read is one piece of receiving work (each chunk its own).
// Without a sink the bytes are counted and dropped, as for the body of a
// refused response.
class BodyReader {
public:
    BodyReader(TcpConnection& connection, WorkCounter& work, const int& readTimeout,
               const BodySink* sink);

    // Returns how many bytes arrived; fewer than `length` when the peer closed.
    std::int64_t readExactly(std::int64_t length);
    void readChunked(std::size_t maxLineLength);
    void readUntilClose();

private:
    std::int64_t readInto(std::int64_t length);
    void take(std::size_t count);
    std::string chunkLine(std::size_t maxLineLength);

    TcpConnection& connection_;
    WorkCounter& work_;
    const int& readTimeout_;  // read at every wait, as the caller may change it
    const BodySink* sink_;
};

}  // namespace vantorel
