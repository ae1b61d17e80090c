// The download command with the real HTTP client against a scripted server:
// the texts the user reads come from the client's own failure chains.
#include <gtest/gtest.h>

#include "FakeDownloadHost.h"
#include "fixtures/ScriptedServer.h"
#include "retrieval/DownloadCommand.h"
#include "retrieval/HttpPageGetter.h"
#include "support/TempDir.h"

namespace vantorel {
namespace {

using test::FakeDownloadHost;
using test::ScriptedServer;

std::string reply(const std::string& status, const std::string& body) {
    return "HTTP/1.1 " + status + "\r\nContent-Length: " + std::to_string(body.size()) +
           "\r\n\r\n" + body;
}

struct OverHttp {
    ScriptedServer server;
    test::TempDir dir;
    FakeDownloadHost host;
    HttpClient client;
    HttpPageGetter getter{client};
    DownloadCommand command{host, getter};
    OverHttp() {
        host.settings.PatentPath = dir.folder();
        host.host = "127.0.0.1:" + std::to_string(server.port());
        host.preference = 2;
        client.OnWork = [this](WorkMode, std::int64_t count) { command.onWork(count); };
    }
};

TEST(DownloadOverHttp, A404OnTheFetchRequestShowsTheStatusLineAfterTwoBlanks) {
    OverHttp t;
    t.server.expectConnection(ScriptedServer::answer(reply("404 Not Found", "gone")));
    t.command.run();
    EXPECT_EQ(t.host.messages(), (std::vector<std::string>{"Exception:  HTTP/1.1 404 Not Found"}));
    EXPECT_EQ(t.host.rescans, 0);
    ASSERT_EQ(t.server.requests().size(), 1u);
    EXPECT_EQ(t.server.requests()[0].rfind("GET /patent_pdf/fetcher.php?patent=US6892391&name=demo"
                                           "&pswd=demo HTTP/1.1\r\n",
                                           0),
              0u);
}

TEST(DownloadOverHttp, A404OnAFileRequestShowsTheWholeLabelChain) {
    OverHttp t;
    const std::string file = t.server.url("/files/US6892391_full.pdf");
    t.server.expectConnection({ScriptedServer::readRequest(),
                               ScriptedServer::send(reply("200 OK", file + "<br>")),
                               ScriptedServer::readRequest(),
                               ScriptedServer::send(reply("404 Not Found", ""))});
    t.command.run();
    EXPECT_EQ(t.host.messages(),
              (std::vector<std::string>{"Exception: THTTPClient.DoRequest#1 --> "
                                        "THTTPClient.DoRequest#4 --> HTTP/1.1 404 Not Found"}));
    EXPECT_FALSE(std::filesystem::exists(t.dir.file("US6892391.pdf")));
}

TEST(DownloadOverHttp, AReadTimeoutOnTheFetchRequestBecomesTheTimeoutMessage) {
    OverHttp t;
    t.host.timeout = "1";
    t.server.expectConnection({ScriptedServer::readRequest(), ScriptedServer::pause(3000)});
    t.command.run();
    EXPECT_EQ(t.host.messages(),
              (std::vector<std::string>{"Exception: " + DownloadCommand::timeoutMessage()}));
}

TEST(DownloadOverHttp, FilesArriveByteForByteWithTheBarInTheirBands) {
    OverHttp t;
    const std::string a(70000, '\x01'), b = std::string("%PDF\0\xff", 6);
    const std::string index = t.server.url("/files/A_full.pdf") + "<br>" +
                              t.server.url("/files/B_full.pdf") + "<br>Error: C unknown<br>";
    t.server.expectConnection({ScriptedServer::readRequest(),
                               ScriptedServer::send(reply("200 OK", index)),
                               ScriptedServer::readRequest(), ScriptedServer::send(reply("200 OK", a)),
                               ScriptedServer::readRequest(), ScriptedServer::send(reply("200 OK", b))});
    t.command.run();
    EXPECT_EQ(test::readFile(t.dir.file("A.pdf")), a);
    EXPECT_EQ(test::readFile(t.dir.file("B.pdf")), b);
    EXPECT_EQ(t.host.messages(), (std::vector<std::string>{"Error: C unknown"}));
    EXPECT_EQ(t.server.connectionCount(), 1u);  // one kept connection for all three requests
    for (int position : t.host.progress) {
        EXPECT_GE(position, 0);
        EXPECT_LE(position, 100);
    }
    EXPECT_EQ(t.host.progress.back(), 0);
    EXPECT_EQ(t.host.rescans, 1);
}

}  // namespace
}  // namespace vantorel
