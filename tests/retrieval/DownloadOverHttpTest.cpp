// The download command with the real HTTP client against a scripted server:
// the texts the user reads come from the client's own failure chains.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "FakeDownloadHost.h"
#include "fixtures/ScriptedServer.h"
#include "platform/Failure.h"
#include "retrieval/DownloadCommand.h"
#include "retrieval/FetchProtocol.h"
#include "retrieval/HttpPageGetter.h"
#include "support/TempDir.h"

namespace vantorel {
namespace {

using namespace std::string_literals;

using test::FakeDownloadHost;
using test::ScriptedServer;
using Script = ScriptedServer::Script;

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
    t.server.expectConnection(
        {ScriptedServer::readRequest(), ScriptedServer::send(reply("200 OK", file + "<br>")),
         ScriptedServer::readRequest(), ScriptedServer::send(reply("404 Not Found", ""))});
    t.command.run();
    EXPECT_EQ(t.host.messages(),
              (std::vector<std::string>{"Exception: THTTPClient.DoRequest#1 --> "
                                        "THTTPClient.DoRequest#4 --> HTTP/1.1 404 Not Found"}));
    EXPECT_FALSE(std::filesystem::exists(t.dir.file("US6892391.pdf")));
}

TEST(DownloadOverHttp, AFetchRequestRefusedAsTooLongGoesInHalvesOnANewConnection) {
    OverHttp t;
    t.host.request = "US1;EP2";
    t.server.expectConnection(ScriptedServer::answer(
        "HTTP/1.1 414 URI Too Long\r\nConnection: close\r\nContent-Length: 0\r\n\r\n"));
    Script parts;
    for (const std::string& body : {t.server.url("/files/A_full.pdf") + "<br>",
                                    t.server.url("/files/B_full.pdf") + "<br>", "a"s, "b"s}) {
        parts.push_back(ScriptedServer::readRequest());
        parts.push_back(ScriptedServer::send(reply("200 OK", body)));
    }
    t.server.expectConnection(parts);
    t.command.run();
    EXPECT_EQ(t.host.messages(), std::vector<std::string>{});
    ASSERT_EQ(t.server.requests().size(), 5u);
    EXPECT_EQ(t.server.requests()[2].rfind("GET /patent_pdf/fetcher.php?patent=EP2&name=", 0), 0u);
    EXPECT_EQ(test::readFile(t.dir.file("A.pdf")) + test::readFile(t.dir.file("B.pdf")), "ab");
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
    t.server.expectConnection(
        {ScriptedServer::readRequest(), ScriptedServer::send(reply("200 OK", index)),
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

std::vector<std::string> folderNames(const test::TempDir& dir) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(DownloadOverHttp, AShortBodyLeavesTheOlderFileAndNoTemporaryFile) {
    OverHttp t;
    test::writeFile(t.dir.file("A.pdf"), "older");
    t.host.answers = {true};
    t.server.expectConnection(
        {ScriptedServer::readRequest(),
         ScriptedServer::send(reply("200 OK", t.server.url("/files/A_full.pdf") + "<br>")),
         ScriptedServer::readRequest(),
         ScriptedServer::send("HTTP/1.1 200 OK\r\nContent-Length: 100000\r\n\r\n" +
                              std::string(70000, 'n')),
         ScriptedServer::close()});
    t.command.run();
    EXPECT_EQ(t.host.messages(),
              (std::vector<std::string>{"Exception: THTTPClient.DoRequest#1 --> "
                                        "THTTPClient.DoRequest#4 --> The connection closed after "
                                        "70000 of the 100000 bytes of the reply body."}));
    EXPECT_EQ(test::readFile(t.dir.file("A.pdf")), "older");
    EXPECT_EQ(folderNames(t.dir), (std::vector<std::string>{"A.pdf"}));
}

TEST(DownloadOverHttp, AFolderThatTakesNoFileFailsBeforeTheFileIsRequested) {
    OverHttp t;
    t.host.settings.PatentPath = t.dir.file("missing") + test::kSeparator;
    t.server.expectConnection(
        {ScriptedServer::readRequest(),
         ScriptedServer::send(reply("200 OK", t.server.url("/files/A_full.pdf") + "<br>")),
         ScriptedServer::readRequest(), ScriptedServer::send(reply("200 OK", "body"))});
    try {
        t.command.run();
        ADD_FAILURE() << "no failure";
    } catch (const Failure& failure) {
        EXPECT_EQ(failure.message(), "Cannot create file " + t.host.settings.PatentPath + "A.pdf");
    }
    EXPECT_EQ(t.server.requests().size(), 1u);
    EXPECT_EQ(t.host.progress.back(), 0);
}

TEST(DownloadOverHttp, SavesAnyNameButOpensOnlyPdfs) {
    OverHttp t;
    t.host.preference = 0;
    // A 254-byte name leaves no room for a suffix (Windows paths stop at 260 bytes).
    const std::string longBase(test::kSeparator == '/' ? 250 : 150, 'L');
    const std::vector<std::string> listed = {"run_full.desktop", "X_full.PDF", "_full.pdf",
                                             longBase + "_full.pdf"};
    std::string index;
    for (const auto& name : listed) index += t.server.url("/files/" + name) + "<br>";
    Script script = {ScriptedServer::readRequest(), ScriptedServer::send(reply("200 OK", index))};
    for (int i = 0; i < 3; ++i) {
        script.push_back(ScriptedServer::readRequest());
        script.push_back(ScriptedServer::send(reply("200 OK", "file" + std::to_string(i))));
    }
    t.server.expectConnection(script);
    t.command.run();
    EXPECT_EQ(folderNames(t.dir),
              (std::vector<std::string>{longBase + ".pdf", "X.PDF", "run.desktop"}));
    EXPECT_EQ(test::readFile(t.dir.file(longBase + ".pdf")), "file2");
    std::vector<std::string> opened;
    for (const auto& event : t.host.events)
        if (event.rfind("open:", 0) == 0) opened.push_back(event.substr(5));
    EXPECT_EQ(opened,
              (std::vector<std::string>{t.dir.file("X.PDF"), t.dir.file(longBase + ".pdf")}));
    EXPECT_EQ(t.host.messages(), (std::vector<std::string>{FetchProtocol::refusedFileNameMessage(
                                     t.server.url("/files/_full.pdf"))}));
}

TEST(DownloadOverHttp, RemovesOnlyOurStaleTemporaryFilesAtTheNextSave) {
    OverHttp t;
    const std::vector<std::string> kept = {".A.pdf.x1Y2z3", ".hidden", ".vantorel-0123abcd.tmp.pdf",
                                           "notes.txt"};
    for (const auto& name : kept) test::writeFile(t.dir.file(name), "keep");
    test::writeFile(t.dir.file(".vantorel-0123abcd.tmp"), "stale");
    t.server.expectConnection(
        {ScriptedServer::readRequest(),
         ScriptedServer::send(reply("200 OK", t.server.url("/files/A_full.pdf") + "<br>")),
         ScriptedServer::readRequest(), ScriptedServer::send(reply("200 OK", "body"))});
    t.command.run();
    std::vector<std::string> expected = kept;
    expected.push_back("A.pdf");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(folderNames(t.dir), expected);
}

}  // namespace
}  // namespace vantorel
