// The real service over loopback: keep-alive, several clients, documents,
// cookies, accounts and catalogue files, and hostile bytes.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <memory>
#include <thread>
#include <tuple>

#include "service/PdfCheck.h"
#include "service/ServiceProcess.h"
#include "support/TempDir.h"

namespace vantorel::test {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

const std::string kIndex = "/patent_pdf/fetcher.php?patent=";

std::vector<std::string> entriesOf(const std::string& body) {
    std::vector<std::string> entries;
    std::size_t start = 0;
    for (std::size_t at; (at = body.find("<br>", start)) != std::string::npos; start = at + 4) {
        entries.push_back(body.substr(start, at - start));
    }
    return entries;
}

// The service writes a request's log line after its reply has gone, so a
// reader waits for the line (within a bound) instead of reading once.
std::string logOnceItHolds(const std::string& path, const std::string& line) {
    std::string log;
    for (int i = 0; i < 200; ++i) {
        log = readFile(path);
        if (log.find(line) != std::string::npos) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
    return log;
}

std::string targetOf(const std::string& address) {
    return address.substr(address.find('/', std::string("http://").size()));
}

TEST(ServiceWireTest, IndexThenDocumentsOnOneConnection) {
    ServiceProcess service({});
    RawClient client(service.port());
    // As the program sends it: HTTP/1.1, its Host, no Connection header.
    client.send(
        "GET " + kIndex +
        "us6892391;XX1;;EP1534056&name=demo&pswd=demo HTTP/1.1\r\nHost: localhost:" +
        std::to_string(service.port()) +
        "\r\nAccept: text/html, */*\r\nUser-Agent: Mozilla/3.0 (compatible; Vantorel Patent "
        "Downloader)\r\n\r\n");
    const auto index = client.read();
    ASSERT_EQ(index.status, 200);
    const auto entries = entriesOf(index.body);
    ASSERT_EQ(entries.size(), 4u) << index.body;
    EXPECT_EQ(entries[0],
              "http://localhost:" + std::to_string(service.port()) + "/files/US6892391_full.pdf");
    EXPECT_THAT(entries[1], HasSubstr("Error:"));
    EXPECT_THAT(entries[1], HasSubstr("XX1"));
    EXPECT_EQ(entries[2], "");
    EXPECT_THAT(entries[3], HasSubstr("/files/EP1534056_full.pdf"));
    EXPECT_THAT(index.header("set-cookie"), StartsWith("VantorelSession="));

    for (const std::string& entry : {entries[0], entries[3]}) {
        const auto document = client.get(
            targetOf(entry), "Cookie: " + index.header("set-cookie").substr(0, 48) + "\r\n");
        ASSERT_TRUE(document.complete);
        EXPECT_EQ(document.status, 200);
        EXPECT_EQ(document.header("content-type"), "application/pdf");
        EXPECT_EQ(std::stoul(document.header("content-length")), document.body.size());
        EXPECT_THAT(document.body, StartsWith("%PDF-"));
    }
    // Without the cookie too, and HEAD tells the same length without a body.
    EXPECT_EQ(client.get(targetOf(entries[0])).status, 200);
    client.send("HEAD " + targetOf(entries[0]) + " HTTP/1.1\r\nHost: localhost\r\n\r\n");
    const auto head = client.read(true);
    EXPECT_EQ(head.status, 200);
    EXPECT_EQ(client.get(targetOf(entries[0])).body.size(),
              std::stoul(head.header("content-length")));
}

TEST(ServiceWireTest, EverySampleIsAValidMultiPageDocument) {
    if (!havePdfinfo()) FAIL() << "pdfinfo is missing (package poppler-utils)";
    ServiceProcess service({});
    TempDir folder;
    RawClient client(service.port());
    const auto index = client.get(
        kIndex +
        "6892391;US2005102719;USRE35312;USPP8901;USD339456;UST109201;USH1523;WO2005043967;"
        "EP1534056;"
        "DE10362030;JP2005117900;GB2408435;FR2862839;RU2207970;AU2954402;IE12123;FI5443;NL293832;"
        "IT1245565;SE193831;DK1;CZ291233;GR1002344;ES9400001&name=demo&pswd=demo");
    const auto entries = entriesOf(index.body);
    ASSERT_EQ(entries.size(), 24u);
    for (const auto& entry : entries) {
        ASSERT_THAT(entry, HasSubstr("_full.pdf")) << entry;
        const auto document = client.get(targetOf(entry));
        ASSERT_EQ(document.status, 200) << entry;
        const std::string number =
            entry.substr(entry.rfind('/') + 1, entry.find("_full") - entry.rfind('/') - 1);
        const std::string report = pdfinfoReport(document.body, folder.path());
        EXPECT_THAT(report, HasSubstr("Pages:           3")) << number;
        EXPECT_THAT(report, HasSubstr("Title:           " + number)) << number;
    }
}

TEST(ServiceWireTest, AccountsFileCatalogueAndLog) {
    TempDir folder;
    writeFile(folder.file("accounts"), "alice:s3cret word\nbob:x\n");
    mkdir(folder.file("catalogue").c_str(), 0700);
    std::string stored = "%PDF-1.4\n";
    stored += std::string(300000, 'z');
    writeFile(folder.file("catalogue/xy42.pdf"), stored);
    ServiceProcess service({"--accounts", folder.file("accounts"), "--catalogue",
                            folder.file("catalogue"), "--log", folder.file("log")});
    RawClient client(service.port());
    EXPECT_EQ(client.get(kIndex + "XY42&name=demo&pswd=demo").body,
              "Incorrect login or password<br>");
    EXPECT_EQ(client.get(kIndex + "XY42&name=alice&pswd=s3cret").body,
              "Incorrect login or password<br>");
    // The password is sent with its blank unescaped, as the program does.
    const auto index = client.get(kIndex + "XY42;DK1&name=alice&pswd=s3cret word");
    ASSERT_EQ(entriesOf(index.body).size(), 2u) << index.body;
    EXPECT_EQ(entriesOf(index.body)[0], "http://localhost/files/XY42_full.pdf");
    const auto document = client.get("/files/XY42_full.pdf");
    EXPECT_EQ(document.body, stored);
    EXPECT_EQ(document.header("content-length"), std::to_string(stored.size()));
    const std::string log =
        logOnceItHolds(folder.file("log"), "\"GET /files/XY42_full.pdf HTTP/1.1\" 200 300009");
    EXPECT_THAT(log, HasSubstr("\"GET /files/XY42_full.pdf HTTP/1.1\" 200 300009"));
    EXPECT_THAT(log, HasSubstr("name=alice&pswd=*** HTTP/1.1\" 200"));
    EXPECT_THAT(log, ::testing::Not(HasSubstr("s3cret")));
}

TEST(ServiceWireTest, SeveralClientsAtOnceWhileOneStalls) {
    ServiceProcess service({"--sample-size", "2000000"});
    RawClient stalled(service.port());
    stalled.send("GET /files/DK1_full.pdf HTTP/1.1\r\nHo");  // never finished
    RawClient reader(service.port());
    reader.send("GET /files/DK1_full.pdf HTTP/1.1\r\nHost: h\r\n\r\n");  // reply never read
    std::vector<std::future<int>> clients;
    for (int i = 0; i < 8; ++i) {
        clients.push_back(std::async(std::launch::async, [&service] {
            RawClient client(service.port());
            int good = 0;
            for (int round = 0; round < 3; ++round) {
                const auto index = client.get(kIndex + "FI5443;SE193831&name=demo&pswd=demo");
                const auto document = client.get("/files/FI5443_full.pdf");
                good += index.status == 200 && document.complete && document.body.size() == 2000000;
            }
            return good;
        }));
    }
    for (auto& client : clients) EXPECT_EQ(client.get(), 3);
    EXPECT_TRUE(service.running());
}

// Idle and half-sent connections from one client must not shut out a fetch:
// the ones that have waited longest for a head make room.
TEST(ServiceWireTest, HundredsOfIdleConnectionsDoNotShutOutAFetch) {
    ServiceProcess service({});
    std::vector<std::unique_ptr<RawClient>> idle;
    for (int i = 0; i < 300; ++i) {
        idle.push_back(std::make_unique<RawClient>(service.port()));
        if (i % 2 == 1) idle.back()->send("GET " + kIndex + "US6892391&name=demo");
    }
    RawClient client(service.port());
    const auto index = client.get(kIndex + "US6892391&name=demo&pswd=demo");
    EXPECT_EQ(index.status, 200);
    const auto document = client.get("/files/US6892391_full.pdf");
    EXPECT_TRUE(document.complete);
    EXPECT_EQ(document.status, 200);
    EXPECT_TRUE(service.running());
}

TEST(ServiceWireTest, PipelinedRequestsAndConnectionClose) {
    ServiceProcess service({});
    RawClient client(service.port());
    client.send("GET /files/DK1_full.pdf HTTP/1.1\r\nHost: h\r\n\r\nGET " + kIndex +
                "DK1&name=demo&pswd=demo HTTP/1.1\r\nHost: h\r\nConnection: close\r\n\r\n");
    EXPECT_THAT(client.read().body, StartsWith("%PDF-"));
    const auto last = client.read();
    EXPECT_EQ(last.body, "http://h/files/DK1_full.pdf<br>");
    EXPECT_EQ(last.header("connection"), "close");
    EXPECT_TRUE(client.closedByServer());

    RawClient old(service.port());
    old.send("GET " + kIndex + "DK1&name=demo&pswd=demo HTTP/1.0\r\n\r\n");
    const auto reply = old.read();
    EXPECT_EQ(reply.body,
              "http://127.0.0.1:" + std::to_string(service.port()) + "/files/DK1_full.pdf<br>");
    EXPECT_TRUE(old.closedByServer());
}

TEST(ServiceWireTest, BadRequestsGetA4xxAndTheServiceLivesOn) {
    ServiceProcess service({});
    const std::string huge(1 << 20, 'A');
    const std::pair<std::string, int> cases[] = {
        {"GET /nowhere HTTP/1.1\r\nHost: h\r\n\r\n", 404},
        {"GET " + kIndex + "DK1 HTTP/1.1\r\nHost: h\r\n\r\n", 400},
        {"GET /patent_pdf/fetcher.php HTTP/1.1\r\nHost: h\r\n\r\n", 400},
        {"GET /" + huge + " HTTP/1.1\r\nHost: h\r\n\r\n", 414},
        {"GET / HTTP/1.1\r\nHost: h\r\nX: " + huge + "\r\n\r\n", 431},
        {"GET /" + huge, 414},
        {std::string("\x16\x03\x01\x00\xa5\x01\x00\x00\xa1\x03\x03\r\n\r\n", 15), 400},
        {"DELETE /files/DK1_full.pdf HTTP/1.1\r\nHost: h\r\n\r\n", 405},
        {"GET / HTTP/1.1\r\n\r\n", 400},
        {"GET / HTTP/1.1\r\nHost: h\r\nContent-Length: 3\r\n\r\nabc", 400},
        {"GET /a\rb HTTP/1.1\r\nHost: h\r\n\r\n", 400},
        {"GET /files/%2e%2e/DK1_full.pdf HTTP/1.1\r\nHost: h\r\n\r\n", 404},
    };
    for (const auto& [bytes, status] : cases) {
        RawClient client(service.port());
        client.send(bytes);
        const auto reply = client.read();
        EXPECT_EQ(reply.status, status) << bytes.substr(0, 60);
    }
    // A client that sends half a head and leaves, or leaves mid-document.
    {
        RawClient gone(service.port());
        gone.send("GET /files/DK1_fu");
    }
    {
        RawClient gone(service.port());
        gone.send("GET /files/DK1_full.pdf HTTP/1.1\r\nHost: h\r\n\r\n");
    }
    RawClient client(service.port());
    EXPECT_EQ(client.get(kIndex + "DK1&name=demo&pswd=demo").status, 200);
    EXPECT_EQ(service.stop(), 0);
}

TEST(ServiceWireTest, RequestLinesUpTo64KiBOrTheLimitGiven) {
    const std::tuple<std::vector<std::string>, int, int> cases[] = {
        {{}, 15000, 200},
        {{}, 17000, 414},  // lines of about 60 and 68 KB
        {{"--max-request-line", "4096"}, 900, 200},
        {{"--max-request-line", "4096"}, 1100, 414}};
    for (const auto& [arguments, numbers, status] : cases) {
        ServiceProcess service(arguments);
        std::string request;
        for (int i = 0; i < numbers; ++i) request += "DK1;";
        RawClient client(service.port());
        EXPECT_EQ(client.get(kIndex + request + "&name=demo&pswd=demo").status, status) << numbers;
    }
}

TEST(ServiceWireTest, RefusesToStartOnBadInput) {
    TempDir folder;
    writeFile(folder.file("accounts"), "no colon here\n");
    for (const std::string& arguments : std::vector<std::string>{
             "--accounts " + folder.file("accounts"), "--accounts " + folder.file("missing"),
             "--catalogue " + folder.file("missing"), "--listen 10.0.0.300:1", "--bogus"}) {
        const std::string command =
            std::string(VANTOREL_SERVICE_BINARY) + " " + arguments + " >/dev/null 2>&1";
        const int status = std::system(command.c_str());
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) != 0) << arguments;
    }
    ServiceProcess first({});
    const std::string second = std::string(VANTOREL_SERVICE_BINARY) +
                               " --listen 127.0.0.1:" + std::to_string(first.port()) + " 2>" +
                               folder.file("err") + " >/dev/null";
    EXPECT_EQ(WEXITSTATUS(std::system(second.c_str())), 1);
    EXPECT_THAT(readFile(folder.file("err")), HasSubstr("Address already in use"));
}

}  // namespace
}  // namespace vantorel::test
