// libFuzzer target: arbitrary bytes play the server's side of a few requests
// made by one client, through a scripted transport (no sockets, no waits).
//
// Input: byte 0 = flags, byte 1 = receive block size (0 = 32768), byte 2 =
// length L of a URL that follows, then the URL, then the server's bytes.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "platform/Failure.h"
#include "retrieval/HttpClient.h"

namespace {

using vantorel::ReceiveResult;

struct ServerBytes {
    const std::uint8_t* data = nullptr;
    std::size_t size = 0;
    std::size_t position = 0;
    std::size_t block = 1;
    int ending = 0;  // what follows the last byte: close, time-out or an error
};

class ScriptedTransport : public vantorel::Transport {
public:
    explicit ScriptedTransport(ServerBytes& bytes) : bytes_(bytes) {}

    void connect(const std::string& host, std::uint16_t, int) override {
        if (host == "refused")
            throw vantorel::Failure("Socket Error # 10061\r\nConnection refused.");
    }

    ReceiveResult receive(char* data, std::size_t capacity, int) override {
        ReceiveResult result;
        if (bytes_.position >= bytes_.size) {
            switch (bytes_.ending) {
                case 0:
                    result.status = ReceiveResult::Status::Closed;
                    break;
                case 1:
                    result.status = ReceiveResult::Status::TimedOut;
                    break;
                case 2:
                    result.status = ReceiveResult::Status::Failed;
                    result.error = 10053;
                    break;
                default:
                    result.status = ReceiveResult::Status::Failed;
                    result.error = 10054;
                    break;
            }
            return result;
        }
        std::size_t count = bytes_.size - bytes_.position;
        if (count > capacity) count = capacity;
        if (count > bytes_.block) count = bytes_.block;
        std::memcpy(data, bytes_.data + bytes_.position, count);
        bytes_.position += count;
        result.status = ReceiveResult::Status::Data;
        result.size = count;
        return result;
    }

    int send(const char*, std::size_t size, std::size_t& sent) override {
        // Partial sends exercise the client's send loop.
        sent = size > 61 ? 61 : size;
        return 0;
    }

    void close() override {}

private:
    ServerBytes& bytes_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) return 0;
    const std::uint8_t flags = data[0];
    ServerBytes bytes;
    bytes.block = data[1] == 0 ? 32768 : data[1];
    std::size_t urlLength = data[2] & 0x3F;
    if (urlLength > size - 3) urlLength = size - 3;
    const std::string url(reinterpret_cast<const char*>(data + 3), urlLength);
    bytes.data = data + 3 + urlLength;
    bytes.size = size - 3 - urlLength;
    bytes.ending = flags & 3;

    vantorel::HttpClient client([&bytes] { return std::make_unique<ScriptedTransport>(bytes); },
                                [] { return std::int64_t{1623233894}; });
    client.MaxBodySize = 1 << 20;
    client.AllowCookies = (flags & 4) == 0;
    client.ProtocolVersion = (flags & 8) ? vantorel::HttpClient::HttpVersion::Http10
                                         : vantorel::HttpClient::HttpVersion::Http11;
    std::int64_t previous = 0;
    client.OnWorkBegin = [&](vantorel::WorkMode, std::int64_t) { previous = 0; };
    client.OnWork = [&](vantorel::WorkMode, std::int64_t count) {
        // Counts only grow within one piece of work.
        if (count <= previous) __builtin_trap();
        previous = count;
    };

    const std::string urls[] = {"http://vantorel.test/patent_pdf/fetcher.php?patent=US1",
                                "files/../US1.pdf", url, "http://other.TEST:8080/x/y?z=1#frag",
                                "/again"};
    for (const std::string& target : urls) {
        try {
            client.Get(target);
        } catch (const vantorel::Failure&) {
        }
    }
    return 0;
}
