#include "retrieval/BodyReader.h"

#include <algorithm>

#include "platform/Failure.h"
#include "platform/WholeNumber.h"

namespace vantorel {
namespace {

// The size in front of the first blank, tab or ";" (chunk extensions follow
// it). A size that cannot be read fails: taking it as 0 would end the body
// early and pass a truncated one off as complete.
std::int64_t chunkSize(const std::string& line) {
    const std::size_t end = std::min(line.find_first_of(" \t;"), line.size());
    if (end == 0) throw Failure("Invalid chunk size line.");
    std::int64_t size = 0;
    int significant = 0;
    for (std::size_t i = 0; i < end; ++i) {
        const int digit = hexDigitValue(line[i]);
        if (digit < 0) throw Failure("Invalid chunk size line.");
        if (significant > 0 || digit != 0) ++significant;
        if (significant > 15) throw Failure("Invalid chunk size line.");
        size = size * 16 + digit;
    }
    return size;
}

}  // namespace

BodyReader::BodyReader(TcpConnection& connection, WorkCounter& work, const int& readTimeout,
                       const BodySink* sink)
    : connection_(connection), work_(work), readTimeout_(readTimeout), sink_(sink) {}

void BodyReader::take(std::size_t count) {
    InputBuffer& buffer = connection_.buffer();
    if (sink_ != nullptr && *sink_) (*sink_)(buffer.data(), count);
    buffer.consume(count);
    work_.add(WorkMode::Receiving, static_cast<std::int64_t>(count));
}

std::int64_t BodyReader::readInto(std::int64_t length) {
    InputBuffer& buffer = connection_.buffer();
    std::int64_t remaining = length;
    bool more = true;
    while (remaining > 0 && more) {
        if (!buffer.empty()) {
            const auto count = static_cast<std::size_t>(
                std::min<std::int64_t>(remaining, static_cast<std::int64_t>(buffer.size())));
            take(count);
            remaining -= static_cast<std::int64_t>(count);
        }
        if (remaining > 0) more = connection_.receiveMore(readTimeout_);
    }
    return length - remaining;
}

std::int64_t BodyReader::readExactly(std::int64_t length) {
    WorkCounter::Scope work(work_, WorkMode::Receiving, length);
    const std::int64_t got = readInto(length);
    work.finish();
    return got;
}

std::string BodyReader::chunkLine(std::size_t maxLineLength) {
    auto line = connection_.readLine(readTimeout_, maxLineLength);
    if (!line) throw Failure("Connection Closed Gracefully.");
    return *line;
}

void BodyReader::readChunked(std::size_t maxLineLength) {
    for (;;) {
        const std::int64_t size = chunkSize(chunkLine(maxLineLength));
        if (size == 0) break;
        WorkCounter::Scope work(work_, WorkMode::Receiving, size);
        const std::int64_t got = readInto(size);
        work.finish();
        if (got < size) throw Failure("Connection Closed Gracefully.");
        chunkLine(maxLineLength);
    }
    chunkLine(maxLineLength);
}

void BodyReader::readUntilClose() {
    InputBuffer& buffer = connection_.buffer();
    WorkCounter::Scope work(work_, WorkMode::Receiving, 0);
    do {
        if (!buffer.empty()) take(buffer.size());
    } while (connection_.receiveMore(readTimeout_));
    work.finish();
}

}  // namespace vantorel
