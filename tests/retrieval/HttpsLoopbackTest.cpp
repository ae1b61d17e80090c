// The client over the system's TLS against real servers on loopback, started
// by tests/support/https_servers.sh (scripts/test-windows.sh does that and
// names their folder in VANTOREL_HTTPS_SERVERS): each certificate's verdict
// in its words, the closes with and without close_notify, reuse, a stall.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <memory>
#include <thread>

#include "platform/Failure.h"
#include "retrieval/HttpClient.h"
#include "retrieval/SocketTransport.h"
#include "support/LoopbackListener.h"
#include "support/NativeSocket.h"
#include "support/TempDir.h"

namespace vantorel {
namespace {

const std::string kHandshake =
    "THTTPClient.DoRequest#1 --> THTTPClient.DoRequest_#5 --> THTTPClient.ConnectToHost_#10 --> "
    "THTTPClient.TLSHandshake#1 --> ";
const std::string kIndex = "/patent_pdf/fetcher.php?patent=US6892391&name=demo&pswd=demo";

struct Servers {
    std::string folder;  // with the separator at the end
    std::map<std::string, int> ports;
    std::string ca() const { return folder + "certs" + test::kSeparator + "ca.pem"; }
    std::string url(const std::string& name, const std::string& host = "localhost") const {
        return "https://" + host + ":" + std::to_string(ports.at(name));
    }
};

const Servers& servers() {
    static const Servers found = [] {
        Servers read;
        const char* folder = std::getenv("VANTOREL_HTTPS_SERVERS");
        if (folder == nullptr) return read;
        read.folder = std::string(folder) + test::kSeparator;
        std::ifstream list(read.folder + "servers.txt");
        std::string name;
        int port = 0;
        while (list >> name >> port) read.ports[name] = port;
        return read;
    }();
    return found;
}

class HttpsLoopbackTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(servers().ports.size(), 7u)
            << "no servers: run tests/support/https_servers.sh and name its folder in "
               "VANTOREL_HTTPS_SERVERS (scripts/test-windows.sh does both)";
    }

    static std::string failureOf(HttpClient& client, const std::string& url,
                                 std::string* body = nullptr) {
        try {
            const std::string got = client.Get(url);
            if (body != nullptr) *body = got;
        } catch (const Failure& failure) {
            return failure.message();
        }
        return "";
    }
};

TEST_F(HttpsLoopbackTest, EachCertificateGetsItsVerdict) {
    struct Case {
        std::string server, host;
        bool withCa;
        CertificateProblem problem;
        bool accepted;
    };
    const auto P = CertificateProblem::Other;
    for (const Case& c : {
             Case{"good", "localhost", true, P, true},
             Case{"good", "127.0.0.1", true, P, true},
             Case{"good", "localhost", false, CertificateProblem::UnknownIssuer, false},
             Case{"expired", "localhost", true, CertificateProblem::Expired, false},
             Case{"notyet", "localhost", true, CertificateProblem::NotYetValid, false},
             Case{"wronghost", "localhost", true, CertificateProblem::HostMismatch, false},
             Case{"wronghost", "127.0.0.1", true, CertificateProblem::HostMismatch, false},
             Case{"selfsigned", "localhost", true, CertificateProblem::SelfSigned, false},
         }) {
        HttpClient client;
        client.ReadTimeout = 5000;
        if (c.withCa) client.CAFile = servers().ca();
        std::string body;
        const std::string url = servers().url(c.server, c.host);
        const std::string failure = failureOf(client, url + kIndex, &body);
        if (c.accepted) {
            EXPECT_EQ(failure, "") << url;
            // The service lists addresses of its own scheme and host.
            EXPECT_NE(body.find(url + "/files/US6892391_full.pdf<br>"), std::string::npos) << body;
        } else {
            EXPECT_EQ(failure, kHandshake + certificateFailureText(c.host, c.problem)) << url;
            EXPECT_FALSE(client.connected());
        }
    }
}

TEST_F(HttpsLoopbackTest, UnusableCaFileEndsTheRequestInTheHandshake) {
    test::TempDir folder;
    const std::string empty = folder.path() + test::kSeparator + "empty.pem";
    std::ofstream(empty) << "no certificates here\n";
    const std::string missing = folder.path() + test::kSeparator + "missing.pem";
    for (const auto& [file, reason] :
         {std::pair{missing, "it cannot be opened"}, std::pair{empty, "it holds no certificate"}}) {
        HttpClient client;
        client.CAFile = file;
        EXPECT_EQ(failureOf(client, servers().url("good") + "/"),
                  kHandshake + "Cannot read the trusted certificates of the CA file " + file +
                      ": " + reason + ".");
    }
}

TEST_F(HttpsLoopbackTest, NothingOlderThanTls12IsSpoken) {
    HttpClient client;
    client.CAFile = servers().ca();
    client.ReadTimeout = 5000;
    EXPECT_EQ(failureOf(client, servers().url("tls11") + "/")
                  .rfind(kHandshake + "The TLS handshake with localhost failed: ", 0),
              0u);
}

TEST_F(HttpsLoopbackTest, IndexAndFileTravelOnOneKeptConnection) {
    int connections = 0;
    HttpClient client([&] {
        ++connections;
        return std::make_unique<SocketTransport>();
    });
    client.CAFile = servers().ca();
    client.ReadTimeout = 5000;
    EXPECT_NE(client.Get(servers().url("good") + kIndex).find("_full.pdf<br>"), std::string::npos);
    const std::string file = client.Get("/files/US6892391_full.pdf");
    EXPECT_EQ(file.rfind("%PDF-", 0), 0u);
    EXPECT_EQ(client.Get("/files/US6892391_full.pdf"), file);
    EXPECT_EQ(connections, 1);
}

// Passes the server's records on to the client but drops its alerts and
// closes instead: the server's close_notify never arrives.
class AlertDropper {
public:
    explicit AlertDropper(int serverPort) : serverPort_(serverPort) {
        listener_ = test::native::openStream();
        sockaddr_in address = loopback(0);
        ::bind(test::native::handle(listener_), reinterpret_cast<sockaddr*>(&address),
               sizeof address);
        ::listen(test::native::handle(listener_), 1);
        int length = sizeof address;
        ::getsockname(test::native::handle(listener_), reinterpret_cast<sockaddr*>(&address),
                      &length);
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] { run(); });
    }
    ~AlertDropper() {
        test::native::closeSocket(listener_);
        thread_.join();
    }
    int port() const { return port_; }

private:
    static sockaddr_in loopback(int port) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = htons(static_cast<std::uint16_t>(port));
        return address;
    }

    void run() {
        const int client = test::native::acceptFrom(listener_);
        if (client < 0) return;
        const int server = test::native::openStream();
        sockaddr_in address = loopback(serverPort_);
        bool open = ::connect(test::native::handle(server), reinterpret_cast<sockaddr*>(&address),
                              sizeof address) == 0;
        std::string fromServer;
        char block[16384];
        while (open) {
            if (test::native::waitFor(client, POLLIN, 5)) {
                const long got = test::native::receiveSome(client, block, sizeof block);
                if (got <= 0) break;
                test::native::sendSome(server, block, static_cast<std::size_t>(got));
            }
            if (!test::native::waitFor(server, POLLIN, 5)) continue;
            const long got = test::native::receiveSome(server, block, sizeof block);
            if (got <= 0) break;
            fromServer.append(block, static_cast<std::size_t>(got));
            // Whole records only: the type is their first byte, the length the 4th and 5th.
            while (open && fromServer.size() >= 5) {
                const std::size_t length = 5 + (static_cast<unsigned char>(fromServer[3]) << 8 |
                                                static_cast<unsigned char>(fromServer[4]));
                if (fromServer.size() < length) break;
                open = fromServer[0] != '\x15';
                if (open) test::native::sendSome(client, fromServer.data(), length);
                fromServer.erase(0, length);
            }
        }
        test::native::closeSocket(server);
        test::native::closeSocket(client);
    }

    int serverPort_;
    int listener_ = -1;
    int port_ = 0;
    std::thread thread_;
};

TEST_F(HttpsLoopbackTest, ClosesWithAndWithoutCloseNotify) {
    const std::string cut =
        "THTTPClient.DoRequest#1 --> THTTPClient.DoRequest#4 --> The connection closed after 50 "
        "of the 100 bytes of the reply body.";
    struct Case {
        std::string path;
        bool closeNotify;
        std::string failure;  // empty: the body arrives whole
        std::size_t size;
    };
    for (const Case& c : {Case{"/cut", true, cut, 50}, Case{"/cut", false, cut, 50},
                          Case{"/whole", true, "", 70000}, Case{"/whole", false, "", 70000}}) {
        std::unique_ptr<AlertDropper> dropper;
        std::string url = servers().url("scripted");
        if (!c.closeNotify) {
            dropper = std::make_unique<AlertDropper>(servers().ports.at("scripted"));
            url = "https://localhost:" + std::to_string(dropper->port());
        }
        HttpClient client;
        client.CAFile = servers().ca();
        client.ReadTimeout = 5000;
        std::size_t size = 0;
        std::string failure;
        try {
            client.Get(url + c.path, [&](const char*, std::size_t got) { size += got; });
        } catch (const Failure& refused) {
            failure = refused.message();
        }
        EXPECT_EQ(failure, c.failure) << c.path << " " << c.closeNotify;
        EXPECT_EQ(size, c.size) << c.path << " " << c.closeNotify;
    }
}

TEST_F(HttpsLoopbackTest, HandshakeStallIsAReadTimeoutAndOnlyTheHelloWentOut) {
    test::LoopbackListener silent;
    std::string arrived;
    std::thread server([&] {
        if (!silent.accept()) return;
        for (std::string got; !(got = silent.receive(16384)).empty();) arrived += got;
    });
    HttpClient client;
    client.ReadTimeout = 300;
    const std::string url = "https://localhost:" + std::to_string(silent.port()) + "/x?pswd=secret";
    EXPECT_EQ(failureOf(client, url), kHandshake + "Read Timeout");
    EXPECT_FALSE(client.connected());
    server.join();  // the client's close ends the server's reading
    ASSERT_FALSE(arrived.empty());
    EXPECT_EQ(arrived[0], '\x16');  // a handshake record: the ClientHello
    EXPECT_EQ(arrived.find("secret"), std::string::npos);
}

}  // namespace
}  // namespace vantorel
