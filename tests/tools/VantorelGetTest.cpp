#include <gtest/gtest.h>

#include "fixtures/ScriptedServer.h"
#include "support/RunProgram.h"

namespace vantorel {
namespace {

using test::ScriptedServer;

test::ProgramRun runGet(const std::vector<std::string>& arguments) {
    return test::runProgram(VANTOREL_GET_PATH, arguments);
}

std::string ok200(const std::string& body) {
    return "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
}

TEST(VantorelGet, WritesBodiesInOrderOverOneConnection) {
    ScriptedServer server;
    server.expectConnection({ScriptedServer::readRequest(), ScriptedServer::send(ok200("one\n")),
                             ScriptedServer::readRequest(), ScriptedServer::send(ok200("two"))});
    const auto run = runGet({server.url("/a"), "b"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "one\ntwo");
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(server.connectionCount(), 1u);
}

TEST(VantorelGet, StopsAtTheFirstFailureWithTheClientsMessage) {
    ScriptedServer server;
    server.expectConnection(
        ScriptedServer::answer("HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n"));
    const auto run = runGet({server.url("/a"), server.url("/b")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err,
              "THTTPClient.DoRequest#1 --> THTTPClient.DoRequest#4 --> HTTP/1.1 404 Not Found\n");
    EXPECT_EQ(server.requests().size(), 1u);
}

TEST(VantorelGet, ReportsWorkAndHonoursTheReadTimeout) {
    ScriptedServer server;
    server.expectConnection(
        {ScriptedServer::readRequest(),
         ScriptedServer::send("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n"
                              "2\r\nab\r\n1\r\nc\r\n0\r\n\r\n"),
         ScriptedServer::readRequest()});
    const auto run = runGet({"--read-timeout", "200", "--connect-timeout", "1000", "--work",
                             server.url("/"), "/again"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "abc");
    EXPECT_EQ(run.err,
              "begin 0 2\nwork 0 2 -1\nend 0\nbegin 0 1\nwork 0 1 -1\nend 0\n"
              "THTTPClient.DoRequest#1 --> THTTPClient.DoRequest#3 --> Read Timeout\n");
}

TEST(VantorelGet, PassesOnWhatArrivedAndFailsWhenALongBodyIsCutShort) {
    ScriptedServer server;
    server.expectConnection(
        {ScriptedServer::readRequest(),
         ScriptedServer::send("HTTP/1.1 200 OK\r\nContent-Length: 3221225472\r\n\r\n" +
                              std::string(1 << 20, 'x')),
         ScriptedServer::close()});
    const auto run = runGet({server.url("/")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, std::string(1 << 20, 'x'));
    EXPECT_EQ(run.err,
              "THTTPClient.DoRequest#1 --> THTTPClient.DoRequest#4 --> The connection "
              "closed after 1048576 of the 3221225472 bytes of the reply body.\n");
}

TEST(VantorelGet, BadArgumentsGiveTheUsage) {
    const std::vector<std::string> cases[] = {{},
                                              {"--work"},
                                              {"--read-timeout"},
                                              {"--read-timeout", "1.5", "http://h/"},
                                              {"--verbose", "http://h/"}};
    for (const auto& arguments : cases) {
        const auto run = runGet(arguments);
        EXPECT_EQ(run.exitCode, 2) << arguments.size();
        EXPECT_EQ(run.err.rfind("usage: vantorel-get", 0), 0u) << arguments.size();
        EXPECT_EQ(run.out, "");
    }
}

}  // namespace
}  // namespace vantorel
