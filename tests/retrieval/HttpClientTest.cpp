#include <gtest/gtest.h>

#include <memory>

#include "fixtures/ScriptedServer.h"
#include "platform/Failure.h"
#include "retrieval/HttpClient.h"
#include "retrieval/SocketErrorText.h"
#include "retrieval/SocketTransport.h"
#include "support/CaseName.h"

namespace vantorel {
namespace {

using test::ScriptedServer;
using Script = ScriptedServer::Script;

struct Outcome {
    bool ok = false;
    std::string body;
    std::string failure;
};

Outcome fetch(HttpClient& client, const std::string& url) {
    Outcome outcome;
    try {
        outcome.body = client.Get(url);
        outcome.ok = true;
    } catch (const Failure& failure) {
        outcome.failure = failure.message();
    }
    return outcome;
}

std::string innermost(const std::string& message) {
    const std::size_t last = message.rfind(" --> ");
    return last == std::string::npos ? message : message.substr(last + 5);
}

std::string ok200(const std::string& body, const std::string& headers = "") {
    return "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(body.size()) + "\r\n" + headers +
           "\r\n" + body;
}

std::string requestFor(const std::string& target, const std::string& host,
                       const std::string& cookie = "") {
    return "GET " + target + " HTTP/1.1\r\nHost: " + host +
           "\r\nAccept: text/html, */*\r\nUser-Agent: Mozilla/3.0 (compatible; Vantorel Patent "
           "Downloader)\r\n" +
           (cookie.empty() ? "" : "Cookie: " + cookie + "\r\n") + "\r\n";
}

const std::string kDoRequest = "THTTPClient.DoRequest#1 --> ";
const std::string kConnectChain =
    kDoRequest + "THTTPClient.DoRequest_#5 --> THTTPClient.ConnectToHost_#10 --> ";

// Short waits keep the suite fast; the refused-body wait of 2 s is fixed.
class HttpClientTest : public testing::Test {
protected:
    HttpClientTest() { client.ReadTimeout = 1000; }
    std::string host() const { return "127.0.0.1:" + std::to_string(server.port()); }

    ScriptedServer server;
    HttpClient client;
};

// --- the request on the wire -----------------------------------------------

struct RequestCase {
    const char* suffix;  // after "http://127.0.0.1:<port>"
    const char* target;
};

class RequestBytes : public HttpClientTest, public testing::WithParamInterface<RequestCase> {};

TEST_P(RequestBytes, AreExactlyTheFixedForm) {
    server.expectConnection(ScriptedServer::answer(ok200("x")));
    ASSERT_TRUE(fetch(client, server.url("") + GetParam().suffix).ok);
    ASSERT_EQ(server.requests().size(), 1u);
    EXPECT_EQ(server.requests()[0], requestFor(GetParam().target, host()));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RequestBytes,
    testing::Values(RequestCase{"/patent_pdf/fetcher.php?patent=US1;EP2&name=a b&pswd=%41\xE9",
                                "/patent_pdf/fetcher.php?patent=US1;EP2&name=a b&pswd=%41\xE9"},
                    RequestCase{"\\patent_pdf\\a.pdf?x=\\y", "/patent_pdf/a.pdf?x=/y"},
                    RequestCase{"/dir/doc.php?a=1#rest", "/dir/doc.php?a=1"},
                    RequestCase{"/dir/doc#frag?a=1", "/dir/doc?a=1"}, RequestCase{"", "/"}),
    [](const auto& info) {
        return test::caseName(info.index, info.param.suffix);
    });

TEST_F(HttpClientTest, UserInformationIsSentNowhere) {
    server.expectConnection(ScriptedServer::answer(ok200("x")));
    ASSERT_TRUE(fetch(client, "http://someone:secret@" + host() + "/x").ok);
    EXPECT_EQ(server.requests().at(0), requestFor("/x", host()));
}

TEST_F(HttpClientTest, LocalhostInAnyCaseConnectsToLoopback) {
    server.expectConnection(ScriptedServer::answer(ok200("x")));
    const std::string name = "LocalHost:" + std::to_string(server.port());
    // No lookup may happen: the resolver would fail the request.
    HttpClient offline([] {
        return std::make_unique<SocketTransport>(
            [](const std::string&, Ipv4Address&) { return kSocketHostNotFound; });
    });
    ASSERT_TRUE(fetch(offline, "http://" + name + "/").ok);
    EXPECT_EQ(server.requests().at(0), requestFor("/", name));
}

TEST_F(HttpClientTest, RelativeUrlFollowsThePreviousRequest) {
    server.expectConnection({ScriptedServer::readRequest(), ScriptedServer::send(ok200("index")),
                             ScriptedServer::readRequest(), ScriptedServer::send(ok200("file"))});
    ASSERT_TRUE(fetch(client, server.url("/patent_pdf/fetcher.php?patent=x/y")).ok);
    EXPECT_EQ(fetch(client, "files/../US1.pdf").body, "file");
    EXPECT_EQ(server.requests().at(1), requestFor("/patent_pdf/US1.pdf", host()));
}

// --- keeping the connection --------------------------------------------------

struct KeepCase {
    const char* firstHeaders;
    std::size_t connections;
};

class KeepAlive : public HttpClientTest, public testing::WithParamInterface<KeepCase> {};

TEST_P(KeepAlive, FollowsTheConnectionValues) {
    const Script both = {ScriptedServer::readRequest(),
                         ScriptedServer::send(ok200("one", GetParam().firstHeaders)),
                         ScriptedServer::readRequest(), ScriptedServer::send(ok200("two"))};
    server.expectConnection(both);
    server.expectConnection(ScriptedServer::answer(ok200("two")));
    ASSERT_EQ(fetch(client, server.url("/a")).body, "one");
    ASSERT_EQ(fetch(client, server.url("/b")).body, "two");
    EXPECT_EQ(server.connectionCount(), GetParam().connections);
}

INSTANTIATE_TEST_SUITE_P(Cases, KeepAlive,
                         testing::Values(KeepCase{"", 1}, KeepCase{"Connection: keep-alive\r\n", 1},
                                         KeepCase{"Connection:  CLOSE \r\n", 2},
                                         KeepCase{"Connection: close\r\n", 2},
                                         KeepCase{"Proxy-Connection: Close\r\n", 2}),
                         [](const auto& info) {
                             return test::caseName(info.index, info.param.firstHeaders);
                         });

TEST_F(HttpClientTest, AnotherHostClosesTheFirstConnection) {
    server.expectConnection(ScriptedServer::answer(ok200("one")));
    server.expectConnection(ScriptedServer::answer(ok200("two")));
    ASSERT_TRUE(fetch(client, server.url("/")).ok);
    ASSERT_TRUE(fetch(client, "http://localhost:" + std::to_string(server.port()) + "/").ok);
    EXPECT_EQ(server.connectionCount(), 2u);
    EXPECT_EQ(server.received(0), requestFor("/", host()));
}

TEST_F(HttpClientTest, ProbeNoticesAnIdleConnectionClosedByTheServer) {
    server.expectConnection({ScriptedServer::readRequest(), ScriptedServer::send(ok200("one")),
                             ScriptedServer::close()});
    server.expectConnection(ScriptedServer::answer(ok200("two")));
    ASSERT_TRUE(fetch(client, server.url("/")).ok);
    ASSERT_TRUE(client.connected());
    ASSERT_TRUE(server.waitUntilAllClosed(5000));
    EXPECT_EQ(fetch(client, server.url("/")).body, "two");
    EXPECT_EQ(server.connectionCount(), 2u);
}

// --- bodies -----------------------------------------------------------------

struct BodyCase {
    const char* name;
    std::string response;
    bool closeAfter;
    bool ok;
    std::string expected;  // the body, or the innermost failure
};

class Bodies : public HttpClientTest, public testing::WithParamInterface<BodyCase> {};

TEST_P(Bodies, AreFramedByTheirHead) {
    Script script = ScriptedServer::answer(GetParam().response);
    if (GetParam().closeAfter) script.push_back(ScriptedServer::close());
    server.expectConnection(script);
    const Outcome outcome = fetch(client, server.url("/"));
    ASSERT_EQ(outcome.ok, GetParam().ok) << outcome.failure;
    EXPECT_EQ(outcome.ok ? outcome.body : innermost(outcome.failure), GetParam().expected);
}

std::string allBytes() {
    std::string bytes;
    for (int i = 0; i < 256; ++i) bytes += static_cast<char>(i);
    return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Bodies,
    testing::Values(
        BodyCase{"Declared", ok200("hello"), false, true, "hello"},
        BodyCase{"AnyBytes", ok200(allBytes()), false, true, allBytes()},
        BodyCase{"DeclaredEmpty", "HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n", false, true, ""},
        BodyCase{"NoContent", "HTTP/1.1 204 No Content\r\n\r\n", false, true, ""},
        BodyCase{"UntilClose", "HTTP/1.1 200 OK\r\n\r\nuntil close", true, true, "until close"},
        BodyCase{"NegativeLength", "HTTP/1.1 200 OK\r\nContent-Length: -3\r\n\r\nabc", true, true,
                 "abc"},
        BodyCase{"Chunked",
                 "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n3\r\nabc\r\n"
                 "A \r\n0123456789\r\n0\r\n\r\n",
                 false, true, "abc0123456789"},
        BodyCase{"ChunkExtension",
                 "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n3;x=y\r\nabc\r\n0\r\n\r\n",
                 false, true, "abc"},
        // "chunked" is matched case-sensitively: this body is read until close.
        BodyCase{"ChunkedInCapitals",
                 "HTTP/1.1 200 OK\r\nTransfer-Encoding: Chunked\r\n\r\n3\r\nabc\r\n0\r\n\r\n", true,
                 true, "3\r\nabc\r\n0\r\n\r\n"},
        BodyCase{"ContinueSkipped",
                 "HTTP/1.1 100 Continue\r\nX: y\r\n\r\nHTTP/1.1 100 Continue\r\n\r\n" + ok200("ok"),
                 false, true, "ok"},
        // A body shorter than declared is a failure, not a short success.
        BodyCase{"ShortBody", "HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\nhello", true, false,
                 "The connection closed after 5 of the 10 bytes of the reply body."},
        BodyCase{"UnreadableChunkSize",
                 "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\nzz\r\nabc\r\n0\r\n\r\n",
                 false, false, "Invalid chunk size line."},
        BodyCase{"ChunkCutOff", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5\r\nab",
                 true, false, "Connection Closed Gracefully."},
        BodyCase{"HeadCutOff", "HTTP/1.1 200 OK\r\nContent-Length: 5\r\n", true, false,
                 "Undefined situation"},
        BodyCase{"NothingAtAll", "", true, false, "Connection Closed Gracefully."}),
    [](const auto& info) { return std::string(info.param.name); });

// --- refused statuses ------------------------------------------------------------

struct StatusCase {
    const char* name;
    std::string response;
    bool closeAfter;
    std::string statusLine;
};

class RefusedStatus : public HttpClientTest, public testing::WithParamInterface<StatusCase> {};

TEST_P(RefusedStatus, FailsWithTheStatusLineAfterItsBody) {
    Script script = ScriptedServer::answer(GetParam().response);
    if (GetParam().closeAfter) script.push_back(ScriptedServer::close());
    server.expectConnection(script);
    EXPECT_EQ(fetch(client, server.url("/")).failure,
              kDoRequest + "THTTPClient.DoRequest#4 --> " + GetParam().statusLine);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RefusedStatus,
    testing::Values(
        StatusCase{"Redirect", "HTTP/1.1 302 Found\r\nLocation: /x\r\nContent-Length: 3\r\n\r\nabc",
                   false, "HTTP/1.1 302 Found"},
        StatusCase{"SuccessWithLocation", "HTTP/1.1 200 OK\r\nLocation: /x\r\n\r\nabc", true,
                   "HTTP/1.1 200 OK"},
        StatusCase{"NotModified", "HTTP/1.1 304 Not Modified\r\nContent-Length: 0\r\n\r\n", false,
                   "HTTP/1.1 304 Not Modified"},
        StatusCase{
            "NotFoundChunked",
            "HTTP/1.1 404 Not Found\r\nTransfer-Encoding: chunked\r\n\r\n2\r\nno\r\n0\r\n\r\n",
            false, "HTTP/1.1 404 Not Found"},
        StatusCase{"NotFoundUntilClose", "HTTP/1.1 404  Not  Found \r\n\r\nmissing", true,
                   "HTTP/1.1 404  Not  Found "},
        StatusCase{"ServerError", "HTTP/1.0 500 Oops\r\nContent-Length: 1\r\n\r\n!", false,
                   "HTTP/1.0 500 Oops"},
        StatusCase{"SwitchingProtocols", "HTTP/1.1 101 Switching\r\nContent-Length: 0\r\n\r\n",
                   false, "HTTP/1.1 101 Switching"},
        StatusCase{"NoStatusCode", "ICY 2OO OK\r\nContent-Length: 0\r\n\r\n", false, "ICY 2OO OK"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(HttpClientTest, RefusedBodyWaitsTwoSecondsWhateverTheReadTimeout) {
    client.ReadTimeout = 100;
    server.expectConnection(
        {ScriptedServer::readRequest(), ScriptedServer::send("HTTP/1.1 404 Not Found\r\n\r\npart"),
         ScriptedServer::pause(400), ScriptedServer::send(" two"), ScriptedServer::close()});
    EXPECT_EQ(innermost(fetch(client, server.url("/")).failure), "HTTP/1.1 404 Not Found");

    // A kept connection that never ends the body: the 2 s wait runs out.
    server.expectConnection(ScriptedServer::answer("HTTP/1.1 404 Not Found\r\n\r\nbody"));
    EXPECT_EQ(fetch(client, server.url("/")).failure,
              kDoRequest + "THTTPClient.DoRequest#4 --> Read Timeout");
    EXPECT_EQ(client.ReadTimeout, 100);
}

TEST_F(HttpClientTest, UnauthorizedIsNotRetriedAndLeavesNoCredential) {
    server.expectConnection(
        {ScriptedServer::readRequest(),
         ScriptedServer::send("HTTP/1.1 401 Unauthorized\r\nWWW-Authenticate: "
                              "Basic realm=\"x\"\r\nContent-Length: 2\r\n\r\nno"),
         ScriptedServer::readRequest(), ScriptedServer::send(ok200("yes"))});
    EXPECT_EQ(innermost(fetch(client, server.url("/a")).failure), "HTTP/1.1 401 Unauthorized");
    EXPECT_EQ(fetch(client, server.url("/b")).body, "yes");
    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[1], requestFor("/b", host()));
}

// --- line length -----------------------------------------------------------

struct LineCase {
    bool inHeader;
    std::size_t bytesBeforeLineFeed;
    bool ok;
};

class LineLimit : public HttpClientTest, public testing::WithParamInterface<LineCase> {};

TEST_P(LineLimit, CountsTheCarriageReturn) {
    const std::size_t length = GetParam().bytesBeforeLineFeed;
    std::string response;
    if (GetParam().inHeader) {
        const std::string start = "X-Long: ";
        response = "HTTP/1.1 200 OK\r\n" + start + std::string(length - start.size() - 1, 'v') +
                   "\r\nContent-Length: 2\r\n\r\nok";
    } else {
        const std::string start = "HTTP/1.1 200 ";
        response =
            start + std::string(length - start.size() - 1, 'K') + "\r\nContent-Length: 2\r\n\r\nok";
    }
    server.expectConnection(ScriptedServer::answer(response));
    const Outcome outcome = fetch(client, server.url("/"));
    EXPECT_EQ(outcome.ok, GetParam().ok);
    if (!GetParam().ok) {
        EXPECT_EQ(outcome.failure,
                  kDoRequest + "THTTPClient.DoRequest#3 --> Max line length exceeded.");
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, LineLimit,
                         testing::Values(LineCase{false, 16384, true},
                                         LineCase{false, 16385, false}, LineCase{true, 16384, true},
                                         LineCase{true, 16385, false}),
                         [](const auto& info) {
                             const std::string where = info.param.inHeader ? "header" : "status";
                             return test::caseName(
                                 info.index,
                                 where + std::to_string(info.param.bytesBeforeLineFeed));
                         });

// --- time-outs and connection failures -------------------------------------------

TEST_F(HttpClientTest, ReadTimeoutWhileWaitingForTheStatusLine) {
    client.ReadTimeout = 100;
    server.expectConnection({ScriptedServer::readRequest()});
    EXPECT_EQ(fetch(client, server.url("/")).failure,
              kDoRequest + "THTTPClient.DoRequest#3 --> Read Timeout");
}

TEST_F(HttpClientTest, ReadTimeoutInsideABodyDropsTheConnection) {
    client.ReadTimeout = 100;
    server.expectConnection(
        ScriptedServer::answer("HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\nhello"));
    server.expectConnection(ScriptedServer::answer(ok200("fresh")));
    EXPECT_EQ(fetch(client, server.url("/")).failure,
              kDoRequest + "THTTPClient.DoRequest#4 --> Read Timeout");
    EXPECT_EQ(fetch(client, server.url("/")).body, "fresh");
    EXPECT_EQ(server.connectionCount(), 2u);
}

TEST_F(HttpClientTest, ReadTimeoutZeroWaitsWithoutLimitNegativeNotAtAll) {
    client.ReadTimeout = 0;
    server.expectConnection({ScriptedServer::readRequest(), ScriptedServer::pause(300),
                             ScriptedServer::send(ok200("late"))});
    EXPECT_EQ(fetch(client, server.url("/")).body, "late");

    client.ReadTimeout = -1;
    server.expectConnection(ScriptedServer::answer(ok200("x")));
    EXPECT_EQ(innermost(fetch(client, "http://localhost:" + std::to_string(server.port())).failure),
              "Read Timeout");
}

TEST_F(HttpClientTest, ConnectTimeout) {
    server.fillBacklog();
    client.ConnectTimeout = 250;
    EXPECT_EQ(fetch(client, server.url("/")).failure,
              kConnectChain + "THTTPClient.ConnectToHost#5 --> Connect timed out.");
    EXPECT_FALSE(client.connected());
}

TEST_F(HttpClientTest, ConnectionRefused) {
    for (const int timeout : {15000, 0}) {
        client.ConnectTimeout = timeout;
        EXPECT_EQ(fetch(client, "http://127.0.0.1:" + std::to_string(ScriptedServer::unusedPort()))
                      .failure,
                  kConnectChain + "THTTPClient.ConnectToHost#5 --> " + socketErrorMessage(10061));
    }
    EXPECT_EQ(socketErrorMessage(10061), "Socket Error # 10061\r\nConnection refused.");
}

TEST_F(HttpClientTest, UnknownHost) {
    std::string asked;
    HttpClient offline([&] {
        return std::make_unique<SocketTransport>([&](const std::string& name, Ipv4Address&) {
            asked = name;
            return kSocketHostNotFound;
        });
    });
    EXPECT_EQ(
        fetch(offline, "http://no.such.host.invalid/x").failure,
        kConnectChain + "THTTPClient.ConnectToHost#5 --> Socket Error # 11001\r\nHost not found.");
    EXPECT_EQ(asked, "no.such.host.invalid");
}

TEST_F(HttpClientTest, ResetByPeerGivesItsSocketText) {
    server.expectConnection({ScriptedServer::readRequest(),
                             ScriptedServer::send("HTTP/1.1 200 OK\r\nContent-Length: 9\r\n\r\nab"),
                             ScriptedServer::pause(50), ScriptedServer::reset()});
    EXPECT_EQ(fetch(client, server.url("/")).failure,
              kDoRequest +
                  "THTTPClient.DoRequest#4 --> Socket Error # 10054\r\nConnection reset by peer.");
}

TEST_F(HttpClientTest, RefusedBeforeAnyBytesAreSent) {
    struct Case {
        std::string url;
        std::string failure;
    };
    const std::string prepare = kDoRequest + "THTTPClient.DoRequest#2 --> ";
    // Where no TLS exists, https is refused before any connection.
    HttpClient withoutTls({}, {}, nullptr);
    for (const std::string& url : {"https://127.0.0.1:" + std::to_string(server.port()) + "/",
                                   std::string("HTTPS://localhost/")})
        EXPECT_EQ(fetch(withoutTls, url).failure,
                  kConnectChain + "THTTPClient.ConnectToHost#1 --> Transport value is not valid");
    for (const Case& c : std::vector<Case>{
             {"http://127.0.0.1:8o/", prepare + "'8o' is not a valid integer value"},
             {server.url("/a\r\nX-Injected: 1"),
              prepare + "The URL holds a control character; the request is not sent."},
             {server.url("/a\tb"),
              prepare + "The URL holds a control character; the request is not sent."},
         }) {
        EXPECT_EQ(fetch(client, c.url).failure, c.failure) << c.url;
    }
    EXPECT_EQ(server.connectionCount(), 0u);
}

TEST(SocketErrorText, FollowsTheWindowsSocketsTable) {
    EXPECT_EQ(socketErrorMessage(10035), "Socket Error # 10035\r\nOperation would block. ");
    EXPECT_EQ(socketErrorMessage(10066), "Socket Error # 10066\r\nDirectory not empty");
    EXPECT_EQ(socketErrorMessage(10048), "Socket Error # 10048\r\nAddress already in use.");
    EXPECT_EQ(socketErrorMessage(10231), "Socket Error # 10231\r\n");
}

// --- memory -------------------------------------------------------------------

TEST_F(HttpClientTest, BodyBeyondTheLimitFailsClearly) {
    client.MaxBodySize = 8;
    const std::string message = "The reply body is too large to be held in memory.";
    server.expectConnection(ScriptedServer::answer(ok200("0123456789")));
    EXPECT_EQ(fetch(client, server.url("/")).failure,
              kDoRequest + "THTTPClient.DoRequest#4 --> " + message);
    server.expectConnection({ScriptedServer::readRequest(),
                             ScriptedServer::send("HTTP/1.1 200 OK\r\n\r\n0123456789"),
                             ScriptedServer::close()});
    EXPECT_EQ(innermost(fetch(client, server.url("/")).failure), message);
    server.expectConnection(
        ScriptedServer::answer("HTTP/1.1 200 OK\r\nTransfer-Encoding: "
                               "chunked\r\n\r\n5\r\n01234\r\n5\r\n56789\r\n0\r\n\r\n"));
    EXPECT_EQ(innermost(fetch(client, server.url("/")).failure), message);
    // The refused body is dropped, not kept: no limit applies to it.
    server.expectConnection(
        ScriptedServer::answer("HTTP/1.1 404 Not Found\r\nContent-Length: 10\r\n\r\n0123456789"));
    EXPECT_EQ(innermost(fetch(client, server.url("/")).failure), "HTTP/1.1 404 Not Found");
}

TEST_F(HttpClientTest, LargeBodiesArriveWholeOrFailWhole) {
    // Many receive blocks, returned as one string.
    std::string body(12 << 20, '\0');
    for (std::size_t i = 0; i < body.size(); ++i) body[i] = static_cast<char>(i * 7 + i / 65536);
    server.expectConnection(ScriptedServer::answer(ok200(body, "Connection: close\r\n")));
    EXPECT_TRUE(fetch(client, server.url("/")).body == body);

    server.expectConnection(
        {ScriptedServer::readRequest(),
         ScriptedServer::send("HTTP/1.1 200 OK\r\nContent-Length: 67108864\r\n\r\n" +
                              body.substr(0, 5 << 20)),
         ScriptedServer::close()});
    EXPECT_EQ(innermost(fetch(client, server.url("/")).failure),
              "The connection closed after 5242880 of the 67108864 bytes of the reply body.");
}

// --- progress -------------------------------------------------------------------

class Progress : public HttpClientTest {
protected:
    Progress() {
        client.OnWorkBegin = [this](WorkMode mode, std::int64_t max) {
            events.push_back("begin " + std::to_string(static_cast<int>(mode)) + " " +
                             std::to_string(max));
        };
        client.OnWork = [this](WorkMode mode, std::int64_t count) {
            events.push_back("work " + std::to_string(static_cast<int>(mode)) + " " +
                             std::to_string(count) + " " +
                             std::to_string(client.response().ContentLength));
        };
        client.OnWorkEnd = [this](WorkMode mode) {
            events.push_back("end " + std::to_string(static_cast<int>(mode)));
        };
    }
    std::vector<std::string> events;
};

TEST_F(Progress, ChunksRestartTheCount) {
    server.expectConnection(
        ScriptedServer::answer("HTTP/1.1 200 OK\r\nTransfer-Encoding: "
                               "chunked\r\n\r\n3\r\nabc\r\n5\r\ndefgh\r\n0\r\n\r\n"));
    ASSERT_TRUE(fetch(client, server.url("/")).ok);
    EXPECT_EQ(events, (std::vector<std::string>{"begin 0 3", "work 0 3 -1", "end 0", "begin 0 5",
                                                "work 0 5 -1", "end 0"}));
}

TEST_F(Progress, LargeBodyCountsBlocksUpToItsLength) {
    const std::string body(200000, 'p');
    server.expectConnection(ScriptedServer::answer(ok200(body)));
    ASSERT_EQ(fetch(client, server.url("/")).body.size(), body.size());
    ASSERT_GE(events.size(), 3u);
    EXPECT_EQ(events.front(), "begin 0 200000");
    EXPECT_EQ(events.back(), "end 0");
    EXPECT_EQ(events[events.size() - 2], "work 0 200000 200000");
    long long previous = 0;
    for (std::size_t i = 1; i + 1 < events.size(); ++i) {
        const long long count = std::stoll(events[i].substr(7));
        EXPECT_GT(count, previous);
        EXPECT_LE(count - previous, 32768);
        previous = count;
    }
}

TEST_F(Progress, RefusedBodiesCountAndHeadsDoNot) {
    server.expectConnection(ScriptedServer::answer(
        "HTTP/1.1 100 Continue\r\n\r\nHTTP/1.1 404 Not Found\r\nConnection: close\r\n"
        "Content-Length: 3\r\n\r\nabc"));
    EXPECT_FALSE(fetch(client, server.url("/")).ok);
    EXPECT_EQ(events, (std::vector<std::string>{"begin 0 3", "work 0 3 3", "end 0"}));
    events.clear();
    server.expectConnection({ScriptedServer::readRequest(),
                             ScriptedServer::send("HTTP/1.1 200 OK\r\n\r\nxy"),
                             ScriptedServer::close()});
    EXPECT_TRUE(fetch(client, server.url("/")).ok);
    EXPECT_EQ(events, (std::vector<std::string>{"begin 0 0", "work 0 2 -1", "end 0"}));
}

TEST(WorkCounter, NestedWorkNeitherResetsNorRepeatsEvents) {
    std::vector<std::string> events;
    WorkCounter::BeginEvent begin = [&](WorkMode, std::int64_t max) {
        events.push_back("begin " + std::to_string(max));
    };
    WorkCounter::WorkEvent work = [&](WorkMode, std::int64_t count) {
        events.push_back("work " + std::to_string(count));
    };
    WorkCounter::EndEvent end = [&](WorkMode mode) {
        events.push_back("end " + std::to_string(static_cast<int>(mode)));
    };
    WorkCounter counter(begin, work, end);
    counter.begin(WorkMode::Receiving, 10);
    counter.add(WorkMode::Receiving, 4);
    counter.begin(WorkMode::Receiving, 99);
    counter.add(WorkMode::Receiving, 4);
    counter.end(WorkMode::Receiving);
    counter.begin(WorkMode::Sending, 1);
    counter.end(WorkMode::Sending);
    counter.end(WorkMode::Receiving);
    EXPECT_EQ(events, (std::vector<std::string>{"begin 10", "work 4", "work 8", "begin 1", "end 1",
                                                "end 0"}));
}

// --- cookies --------------------------------------------------------------------------

TEST_F(HttpClientTest, CookiesFromEveryHeadGoBack) {
    std::int64_t now = 1623233894;
    HttpClient timed({}, [&] { return now; });
    timed.ReadTimeout = 1000;
    server.expectConnection(
        {ScriptedServer::readRequest(),
         ScriptedServer::send("HTTP/1.1 100 Continue\r\nSet-Cookie: early=1; Path=/\r\n\r\n"
                              "HTTP/1.1 404 Not Found\r\nSet-Cookie: sid=abc; Path=/patent_pdf/\r\n"
                              "Set-Cookie2: v2=2; Path=/; Max-Age=60\r\nContent-Length: 0\r\n\r\n"),
         ScriptedServer::readRequest(), ScriptedServer::send(ok200("x")),
         ScriptedServer::readRequest(), ScriptedServer::send(ok200("y")),
         ScriptedServer::readRequest(), ScriptedServer::send(ok200("z"))});
    EXPECT_FALSE(fetch(timed, server.url("/patent_pdf/fetcher.php")).ok);
    EXPECT_TRUE(fetch(timed, server.url("/patent_pdf/a.pdf")).ok);
    EXPECT_TRUE(fetch(timed, server.url("/other.pdf")).ok);
    now += 60;
    EXPECT_TRUE(fetch(timed, server.url("/patent_pdf/b.pdf")).ok);
    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 4u);
    EXPECT_EQ(requests[0], requestFor("/patent_pdf/fetcher.php", host()));
    EXPECT_EQ(requests[1], requestFor("/patent_pdf/a.pdf", host(), "sid=abc; early=1; v2=2"));
    EXPECT_EQ(requests[2], requestFor("/other.pdf", host(), "early=1; v2=2"));
    EXPECT_EQ(requests[3], requestFor("/patent_pdf/b.pdf", host(), "sid=abc; early=1"));
}

TEST_F(HttpClientTest, CookiesOffStoresNothing) {
    client.AllowCookies = false;
    server.expectConnection({ScriptedServer::readRequest(),
                             ScriptedServer::send(ok200("x", "Set-Cookie: a=1; Path=/\r\n")),
                             ScriptedServer::readRequest(), ScriptedServer::send(ok200("y"))});
    ASSERT_TRUE(fetch(client, server.url("/")).ok);
    ASSERT_TRUE(fetch(client, server.url("/")).ok);
    EXPECT_EQ(client.cookieStore(), nullptr);
    EXPECT_EQ(server.requests().at(1), requestFor("/", host()));
}

}  // namespace
}  // namespace vantorel
