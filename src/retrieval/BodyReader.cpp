#include "retrieval/BodyReader.h"

#include <algorithm>
#include <optional>
#include <system_error>

#include "platform/Failure.h"
#include "platform/Memory.h"
#include "platform/WholeNumber.h"
#include "retrieval/StoragePreparer.h"

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

// Bodies from this size on have their storage prepared ahead of the bytes
// (StoragePreparer); below it a helper thread is not worth starting.
constexpr std::int64_t kPrepareFrom = 4 << 20;

}  // namespace

BodyReader::BodyReader(TcpConnection& connection, WorkCounter& work, const int& readTimeout,
                       std::size_t maxBodySize)
    : connection_(connection), work_(work), readTimeout_(readTimeout), maxBodySize_(maxBodySize) {}

std::string BodyReader::tooLargeMessage() {
    return "The reply body is too large to be held in memory.";
}

void BodyReader::take(std::size_t count, std::string* sink) {
    InputBuffer& buffer = connection_.buffer();
    if (sink != nullptr) {
        if (count > maxBodySize_ - std::min(maxBodySize_, sink->size()))
            throw Failure(tooLargeMessage());
        sink->append(buffer.data(), count);
    }
    buffer.consume(count);
    work_.add(WorkMode::Receiving, static_cast<std::int64_t>(count));
}

std::int64_t BodyReader::readInto(std::int64_t length, std::string* sink,
                                  StoragePreparer* preparer) {
    InputBuffer& buffer = connection_.buffer();
    std::int64_t remaining = length;
    bool more = true;
    while (remaining > 0 && more) {
        if (!buffer.empty()) {
            const auto count = static_cast<std::size_t>(
                std::min<std::int64_t>(remaining, static_cast<std::int64_t>(buffer.size())));
            take(count, sink);
            if (preparer) preparer->wrote(count);
            remaining -= static_cast<std::int64_t>(count);
        }
        if (remaining > 0) more = connection_.receiveMore(readTimeout_);
    }
    return length - remaining;
}

std::int64_t BodyReader::readExactly(std::int64_t length, std::string* sink) {
    if (sink != nullptr) {
        if (static_cast<std::uint64_t>(length) >
            maxBodySize_ - std::min(maxBodySize_, sink->size()))
            throw Failure(tooLargeMessage());
        sink->reserve(sink->size() + static_cast<std::size_t>(length));
    }
    // The room just reserved stays where it is while the body is read into it.
    std::optional<StoragePreparer> preparer;
    if (sink != nullptr && length >= kPrepareFrom && canPrepareForWriting()) {
        try {
            preparer.emplace(sink->data() + sink->size(), static_cast<std::size_t>(length));
        } catch (const std::system_error&) {
            // No thread to spare: the storage is faulted in as it is written.
        }
    }
    WorkCounter::Scope work(work_, WorkMode::Receiving, length);
    const std::int64_t got = readInto(length, sink, preparer ? &*preparer : nullptr);
    work.finish();
    return got;
}

std::string BodyReader::chunkLine(std::size_t maxLineLength) {
    auto line = connection_.readLine(readTimeout_, maxLineLength);
    if (!line) throw Failure("Connection Closed Gracefully.");
    return *line;
}

void BodyReader::readChunked(std::string* sink, std::size_t maxLineLength) {
    for (;;) {
        const std::int64_t size = chunkSize(chunkLine(maxLineLength));
        if (size == 0) break;
        if (sink != nullptr &&
            static_cast<std::uint64_t>(size) > maxBodySize_ - std::min(maxBodySize_, sink->size()))
            throw Failure(tooLargeMessage());
        WorkCounter::Scope work(work_, WorkMode::Receiving, size);
        const std::int64_t got = readInto(size, sink);
        work.finish();
        if (got < size) throw Failure("Connection Closed Gracefully.");
        chunkLine(maxLineLength);
    }
    chunkLine(maxLineLength);
}

void BodyReader::readUntilClose(std::string* sink) {
    InputBuffer& buffer = connection_.buffer();
    WorkCounter::Scope work(work_, WorkMode::Receiving, 0);
    do {
        if (!buffer.empty()) take(buffer.size(), sink);
    } while (connection_.receiveMore(readTimeout_));
    work.finish();
}

}  // namespace vantorel
