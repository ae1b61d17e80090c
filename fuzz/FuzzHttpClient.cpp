// libFuzzer target: arbitrary bytes play the server's side of a few requests
// made by one client, through a scripted transport (no sockets, no waits).
// With flag 16 the requests are https: the client's own TLS transport runs
// over the server's end of TLS played in memory, which encrypts the bytes,
// closing with close_notify under flag 32 (certificates: VANTOREL_FUZZ_CERTS,
// a folder made by tests/support/make_certificates.sh; fuzz/run.sh makes one).
//
// Input: byte 0 = flags, byte 1 = receive block size (0 = 32768), byte 2 =
// length L of a URL that follows, then the URL, then the server's bytes.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include <cstdlib>

#include "fixtures/TlsPeer.h"
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

// The certificates' folder, and the server's TLS context; null without them.
const std::shared_ptr<SSL_CTX>& tlsContext(std::string& folder) {
    static std::string certificates =
        std::getenv("VANTOREL_FUZZ_CERTS") ? std::getenv("VANTOREL_FUZZ_CERTS") : "";
    static const std::shared_ptr<SSL_CTX> context =
        certificates.empty() ? nullptr
                             : vantorel::test::TlsPeer::serverContext(certificates + "/good.pem",
                                                                      certificates + "/good.key");
    folder = certificates;
    return context;
}

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

    const bool tls = (flags & 16) != 0;
    std::string certificates;
    const std::shared_ptr<SSL_CTX>& context = tlsContext(certificates);
    if (tls && !context) return 0;
    const bool closeNotify = (flags & 32) != 0;
    vantorel::HttpClient client(
        [&]() -> std::unique_ptr<vantorel::Transport> {
            auto server = std::make_unique<ScriptedTransport>(bytes);
            if (!tls) return server;
            return std::make_unique<vantorel::test::TlsPeer>(context, std::move(server),
                                                             closeNotify);
        },
        [] { return std::int64_t{1623233894}; });
    client.CAFile = tls ? certificates + "/ca.pem" : "";
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

    const std::string plain[] = {"http://vantorel.test/patent_pdf/fetcher.php?patent=US1",
                                 "files/../US1.pdf", url, "http://other.TEST:8080/x/y?z=1#frag",
                                 "/again"};
    // The certificate names localhost and 127.0.0.1; "LOCALHOST" is the same host.
    const std::string secure[] = {"https://localhost/patent_pdf/fetcher.php?patent=US1",
                                  "files/../US1.pdf", url, "https://127.0.0.1:8443/x/y?z=1#frag",
                                  "https://LOCALHOST/again"};
    for (const std::string& target : tls ? secure : plain) {
        try {
            client.Get(target);
        } catch (const vantorel::Failure&) {
        }
    }
    return 0;
}
