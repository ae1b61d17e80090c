#pragma once

#include <cstdint>
#include <string>

#include "retrieval/TcpConnection.h"
#include "retrieval/WorkCounter.h"

namespace vantorel {

class StoragePreparer;

// Reads a response body in its three framings. Each read is one piece of
// receiving work (each chunk its own). Without a sink the bytes are counted
// and dropped, as for the body of a refused response.
class BodyReader {
public:
    BodyReader(TcpConnection& connection, WorkCounter& work, const int& readTimeout,
               std::size_t maxBodySize);

    // Returns how many bytes arrived; fewer than `length` when the peer closed.
    std::int64_t readExactly(std::int64_t length, std::string* sink);
    void readChunked(std::string* sink, std::size_t maxLineLength);
    void readUntilClose(std::string* sink);

    static std::string tooLargeMessage();

private:
    std::int64_t readInto(std::int64_t length, std::string* sink,
                          StoragePreparer* preparer = nullptr);
    void take(std::size_t count, std::string* sink);
    std::string chunkLine(std::size_t maxLineLength);

    TcpConnection& connection_;
    WorkCounter& work_;
    const int& readTimeout_;  // read at every wait, as the caller may change it
    std::size_t maxBodySize_;
};

}  // namespace vantorel
