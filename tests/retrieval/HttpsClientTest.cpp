// The client over its OpenSSL transport, the server's end of TLS played in
// memory: what https changes (handshake stage, closes, cookies) and what it
// must not (reuse, the short-body failure).
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "fixtures/ScriptedServer.h"
#include "fixtures/TlsPeer.h"
#include "platform/Failure.h"
#include "retrieval/HttpClient.h"
#include "support/TempDir.h"

namespace vantorel {
namespace {

using Status = ReceiveResult::Status;
using test::PlaintextScript;
using test::TlsPeer;

const std::string kHandshake =
    "THTTPClient.DoRequest#1 --> THTTPClient.DoRequest_#5 --> THTTPClient.ConnectToHost_#10 --> "
    "THTTPClient.TLSHandshake#1 --> ";

class HttpsClientTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        certificates_ = new test::TempDir;
        const std::string command = std::string(VANTOREL_SOURCE_DIR) +
                                    "/tests/support/make_certificates.sh " + certificates_->path();
        ASSERT_EQ(std::system(command.c_str()), 0);
        context_ = new std::shared_ptr<SSL_CTX>(TlsPeer::serverContext(
            certificates_->path() + "/good.pem", certificates_->path() + "/good.key"));
    }
    static void TearDownTestSuite() {
        delete context_;
        delete certificates_;
    }

    // A client whose every connection meets the next scripted server.
    std::unique_ptr<HttpClient> clientFor(std::vector<std::vector<std::string>> servers,
                                          Status ending, bool closeNotify) {
        auto client = std::make_unique<HttpClient>([this, servers, ending, closeNotify]() mutable {
            ++connections_;
            std::vector<std::string> blocks;
            if (!servers.empty()) {
                blocks = std::move(servers.front());
                servers.erase(servers.begin());
            }
            return std::make_unique<TlsPeer>(
                *context_, std::make_unique<PlaintextScript>(std::move(blocks), ending, &received_),
                closeNotify);
        });
        client->CAFile = certificates_->path() + "/ca.pem";
        client->ReadTimeout = 500;
        return client;
    }

    static std::string fetchFailure(HttpClient& client, const std::string& url,
                                    std::size_t* bodySize = nullptr) {
        try {
            client.Get(url, [&](const char*, std::size_t size) {
                if (bodySize != nullptr) *bodySize += size;
            });
        } catch (const Failure& failure) {
            return failure.message();
        }
        return "";
    }

    static test::TempDir* certificates_;
    static std::shared_ptr<SSL_CTX>* context_;
    int connections_ = 0;
    std::string received_;  // the decrypted requests
};

test::TempDir* HttpsClientTest::certificates_ = nullptr;
std::shared_ptr<SSL_CTX>* HttpsClientTest::context_ = nullptr;

TEST_F(HttpsClientTest, KeptConnectionCarriesSecureCookiesAndTheNextRequest) {
    auto client = clientFor({{"HTTP/1.1 200 OK\r\nContent-Length: 3\r\nSet-Cookie: s=1; Path=/; "
                              "Secure\r\n\r\none",
                              "HTTP/1.1 200 OK\r\nContent-Length: 3\r\n\r\ntwo"}},
                            Status::TimedOut, true);
    EXPECT_EQ(client->Get("https://localhost/a"), "one");
    EXPECT_EQ(client->Get("/b"), "two");  // relative: stays on https
    EXPECT_EQ(connections_, 1);
    EXPECT_EQ(received_,
              "GET /a HTTP/1.1\r\nHost: localhost\r\nAccept: text/html, */*\r\nUser-Agent: "
              "Mozilla/3.0 (compatible; Vantorel Patent Downloader)\r\n\r\n"
              "GET /b HTTP/1.1\r\nHost: localhost\r\nAccept: text/html, */*\r\nUser-Agent: "
              "Mozilla/3.0 (compatible; Vantorel Patent Downloader)\r\nCookie: s=1\r\n\r\n");
}

TEST_F(HttpsClientTest, ClosesWithAndWithoutCloseNotify) {
    struct Case {
        std::string response;
        bool closeNotify;
        std::string failure;  // empty: the body arrives whole
    };
    const std::string cut = "HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\n" + std::string(50, 'x');
    const std::string untilClose = "HTTP/1.1 200 OK\r\n\r\n" + std::string(70000, 'y');
    for (const Case& c : {Case{cut, false,
                               "THTTPClient.DoRequest#1 --> THTTPClient.DoRequest#4 --> The "
                               "connection closed after 50 of the 100 bytes of the reply body."},
                          Case{cut, true,
                               "THTTPClient.DoRequest#1 --> THTTPClient.DoRequest#4 --> The "
                               "connection closed after 50 of the 100 bytes of the reply body."},
                          Case{untilClose, false, ""}, Case{untilClose, true, ""}}) {
        auto client = clientFor({{c.response}}, Status::Closed, c.closeNotify);
        std::size_t size = 0;
        EXPECT_EQ(fetchFailure(*client, "https://127.0.0.1:8443/", &size), c.failure)
            << c.closeNotify;
        EXPECT_EQ(size, c.failure.empty() ? 70000u : 50u);
    }
}

TEST_F(HttpsClientTest, HandshakeStallIsAReadTimeoutAndNothingElseGoesOut) {
    std::string sent;
    HttpClient client([&] { return std::make_unique<test::SilentPeer>(&sent); });
    client.ReadTimeout = 200;
    EXPECT_EQ(fetchFailure(client, "https://localhost/x?pswd=secret"), kHandshake + "Read Timeout");
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent[0], '\x16');  // a TLS handshake record, the ClientHello
    EXPECT_EQ(sent.find("secret"), std::string::npos);
    EXPECT_FALSE(client.connected());
}

TEST_F(HttpsClientTest, RefusedCertificateEndsTheRequestBeforeAnyByteOfIt) {
    auto client =
        clientFor({{"HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n"}}, Status::Closed, true);
    client->CAFile.clear();  // the system's roots alone do not know the test CA
    EXPECT_EQ(fetchFailure(*client, "https://localhost/"),
              kHandshake + certificateFailureText("localhost", CertificateProblem::UnknownIssuer));
    EXPECT_EQ(received_, "");
    client->CAFile = "/nonexistent/ca.pem";
    EXPECT_EQ(fetchFailure(*client, "https://localhost/")
                  .rfind(kHandshake + "Cannot read the trusted certificates of the CA file "
                                      "/nonexistent/ca.pem: ",
                         0),
              0u);
}

TEST_F(HttpsClientTest, AKeptPlainConnectionIsNeverTakenForHttps) {
    test::ScriptedServer server;
    server.expectConnection(
        {test::ScriptedServer::readRequest(),
         test::ScriptedServer::send("HTTP/1.1 200 OK\r\nContent-Length: 1\r\n\r\nx")});
    server.expectConnection({test::ScriptedServer::pause(2000)});
    HttpClient client;
    client.ReadTimeout = 300;
    EXPECT_EQ(client.Get(server.url("/")), "x");
    const std::string https = "https://127.0.0.1:" + std::to_string(server.port()) + "/";
    EXPECT_EQ(fetchFailure(client, https), kHandshake + "Read Timeout");
    EXPECT_EQ(server.connectionCount(), 2u);
    EXPECT_EQ(server.received(0).find('\x16'), std::string::npos);
}

}  // namespace
}  // namespace vantorel
