// Bodies handed to a sink, long lengths, stale kept connections and the
// bounds on interim heads and cookies.
#include <gtest/gtest.h>

#include "fixtures/ScriptedServer.h"
#include "platform/Failure.h"
#include "retrieval/HttpClient.h"

namespace vantorel {
namespace {

using test::ScriptedServer;
using Script = ScriptedServer::Script;

std::string ok200(const std::string& body) {
    return "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
}

std::string failureOf(const std::function<void()>& request) {
    try {
        request();
    } catch (const Failure& failure) {
        return failure.message();
    }
    return "";
}

class Hardening : public testing::Test {
protected:
    Hardening() {
        client.ReadTimeout = 2000;
        client.OnWorkBegin = [this](WorkMode, std::int64_t max) {
            events.push_back("begin " + std::to_string(max));
        };
        client.OnWork = [this](WorkMode, std::int64_t count) {
            events.push_back("work " + std::to_string(count));
        };
        client.OnWorkEnd = [this](WorkMode) { events.push_back("end"); };
    }
    ScriptedServer server;
    HttpClient client;
    std::vector<std::string> events;
};

// --- the sink -------------------------------------------------------------------

struct FramingCase {
    const char* name;
    std::string (*frame)(const std::string& body);
    bool closes;
};

std::string chunked(const std::string& body) {
    std::string out = "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n";
    for (std::size_t at = 0; at < body.size(); at += 100000) {
        const std::string part = body.substr(at, 100000);
        char size[16];
        std::snprintf(size, sizeof size, "%zx", part.size());
        out += std::string(size) + "\r\n" + part + "\r\n";
    }
    return out + "0\r\n\r\n";
}

class SinkFramings : public Hardening, public testing::WithParamInterface<FramingCase> {};

TEST_P(SinkFramings, GiveTheSameBytesAndEventsAsTheString) {
    std::string body(3 << 20, '\0');
    for (std::size_t i = 0; i < body.size(); ++i) body[i] = static_cast<char>(i * 31 + i / 7919);
    const std::string response = GetParam().frame(body);
    if (GetParam().closes) {
        for (int i = 0; i < 2; ++i)
            server.expectConnection({ScriptedServer::readRequest(), ScriptedServer::send(response),
                                     ScriptedServer::close()});
    } else {
        server.expectConnection({ScriptedServer::readRequest(), ScriptedServer::send(response),
                                 ScriptedServer::readRequest(), ScriptedServer::send(response)});
    }
    const std::string whole = client.Get(server.url("/"));
    const std::vector<std::string> stringEvents = std::move(events);
    events.clear();

    // Each block reaches the sink just before the progress event that counts it.
    std::string streamed;
    std::size_t largest = 0;
    std::vector<std::string> expected;
    client.Get(server.url("/"), [&](const char* data, std::size_t size) {
        const std::size_t before = events.empty() || events.back().rfind("begin", 0) == 0
                                       ? 0
                                       : std::stoull(events.back().substr(5));
        expected.push_back("work " + std::to_string(before + size));
        streamed.append(data, size);
        largest = std::max(largest, size);
    });
    EXPECT_TRUE(whole == body);
    EXPECT_TRUE(streamed == body);
    EXPECT_LE(largest, 32768u);
    const auto only = [](const std::vector<std::string>& list, bool work) {
        std::vector<std::string> out;
        for (const auto& event : list)
            if ((event.rfind("work", 0) == 0) == work) out.push_back(event);
        return out;
    };
    EXPECT_EQ(only(events, true), expected);
    EXPECT_EQ(only(events, false), only(stringEvents, false));  // begin and end as before
}

std::string declared(const std::string& body) {
    return ok200(body);
}
std::string untilClose(const std::string& body) {
    return "HTTP/1.1 200 OK\r\n\r\n" + body;
}

INSTANTIATE_TEST_SUITE_P(Cases, SinkFramings,
                         testing::Values(FramingCase{"declared", declared, false},
                                         FramingCase{"chunked", chunked, false},
                                         FramingCase{"untilClose", untilClose, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Hardening, ALengthAbove2GiBCutShortFails) {
    server.expectConnection(
        {ScriptedServer::readRequest(),
         ScriptedServer::send("HTTP/1.1 200 OK\r\nContent-Length: 3221225472\r\n\r\n" +
                              std::string(1 << 20, 'x')),
         ScriptedServer::close()});
    std::int64_t received = 0;
    const std::string failure = failureOf([&] {
        client.Get(server.url("/"), [&](const char*, std::size_t size) { received += size; });
    });
    EXPECT_EQ(failure,
              "THTTPClient.DoRequest#1 --> THTTPClient.DoRequest#4 --> The connection "
              "closed after 1048576 of the 3221225472 bytes of the reply body.");
    EXPECT_EQ(client.response().ContentLength, 3221225472);
    EXPECT_EQ(received, 1 << 20);
    EXPECT_EQ(events.front(), "begin 3221225472");
}

// --- a kept connection closed under the request -----------------------------------

struct StaleCase {
    const char* name;
    Script first;  // the first connection, after it answered "one"
    std::size_t requests;
};

class StaleConnection : public Hardening, public testing::WithParamInterface<StaleCase> {};

TEST_P(StaleConnection, IsReplacedAndTheRequestSentOnceMore) {
    Script first = ScriptedServer::answer(ok200("one"));
    first.insert(first.end(), GetParam().first.begin(), GetParam().first.end());
    server.expectConnection(first);
    server.expectConnection(ScriptedServer::answer(ok200("two")));
    EXPECT_EQ(client.Get(server.url("/a")), "one");
    if (GetParam().requests == 2) {
        ASSERT_TRUE(server.waitUntilAllClosed(5000));
    }
    EXPECT_EQ(client.Get(server.url("/b")), "two");
    EXPECT_EQ(server.connectionCount(), 2u);
    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), GetParam().requests);
    EXPECT_EQ(requests.back().rfind("GET /b HTTP/1.1\r\n", 0), 0u);
    EXPECT_EQ(requests[1], requests.back());  // the same bytes sent once more
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StaleConnection,
    testing::Values(
        // The close arrives after the next request went out.
        StaleCase{
            "closeAfterTheRequest", {ScriptedServer::readRequest(), ScriptedServer::close()}, 3},
        StaleCase{
            "resetAfterTheRequest", {ScriptedServer::readRequest(), ScriptedServer::reset()}, 3},
        // An idle kept connection reset by the server is replaced silently.
        StaleCase{"resetWhileIdle", {ScriptedServer::pause(200), ScriptedServer::reset()}, 2}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Hardening, ACloseAfterPartOfTheStatusLineIsNotRetried) {
    server.expectConnection({ScriptedServer::readRequest(), ScriptedServer::send(ok200("one")),
                             ScriptedServer::readRequest(), ScriptedServer::send("HTTP/1.1 2"),
                             ScriptedServer::close()});
    EXPECT_EQ(client.Get(server.url("/")), "one");
    EXPECT_EQ(failureOf([&] { client.Get(server.url("/")); }),
              "THTTPClient.DoRequest#1 --> THTTPClient.DoRequest#3 --> Connection Closed "
              "Gracefully.");
    EXPECT_EQ(server.connectionCount(), 1u);
}

// --- bounds ---------------------------------------------------------------------------

TEST_F(Hardening, InterimHeadsAreBounded) {
    std::string heads;
    for (int i = 0; i < HttpClient::kMaxInterimHeads; ++i) heads += "HTTP/1.1 100 Continue\r\n\r\n";
    server.expectConnection(
        {ScriptedServer::readRequest(), ScriptedServer::send(heads + ok200("ok")),
         ScriptedServer::readRequest(),
         ScriptedServer::send(heads + "HTTP/1.1 100 Continue\r\n\r\n" + ok200("ok"))});
    EXPECT_EQ(client.Get(server.url("/")), "ok");
    EXPECT_EQ(failureOf([&] { client.Get(server.url("/")); }),
              "THTTPClient.DoRequest#1 --> THTTPClient.DoRequest#3 --> The server sent more than "
              "32 interim responses.");
}

TEST_F(Hardening, TheCookieHeaderKeepsTheRequestHeadWithin64KiB) {
    std::string setCookies;
    for (int i = 0; i < 10; ++i)
        setCookies +=
            "Set-Cookie: c" + std::to_string(i) + "=" + std::string(16000, 'a' + i) + "\r\n";
    setCookies += "Set-Cookie: small=1\r\n";
    server.expectConnection(
        {ScriptedServer::readRequest(),
         ScriptedServer::send("HTTP/1.1 200 OK\r\n" + setCookies + "Content-Length: 0\r\n\r\n"),
         ScriptedServer::readRequest(), ScriptedServer::send(ok200(""))});
    client.Get(server.url("/"));
    client.Get(server.url("/"));
    ASSERT_EQ(server.requests().size(), 2u);
    const std::string head = server.requests()[1];
    EXPECT_LE(head.size(), HttpClient::kMaxRequestHead);
    EXPECT_NE(head.find("Cookie: c0="), std::string::npos);
    EXPECT_NE(head.find("; small=1\r\n"), std::string::npos);  // what fits after a left-out one
    EXPECT_EQ(head.find("c9="), std::string::npos);
}

}  // namespace
}  // namespace vantorel
