// The service's replies without sockets: request heads, the Index response,
// documents, accounts, the log and the command line.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <random>

#include "AccountList.h"
#include "FetchResponder.h"
#include "HttpServer.h"
#include "PatentNumber.h"
#include "RequestHeadParser.h"
#include "RequestLog.h"
#include "SamplePdf.h"
#include "ServiceOptions.h"
#include "platform/Failure.h"
#include "service/PdfCheck.h"
#include "support/TempDir.h"

namespace vantorel::service {
namespace {

using ::testing::HasSubstr;
using State = RequestHeadParser::State;

struct HeadCase {
    const char* label;
    std::string bytes;
    State state;
    int status;
    std::size_t longestRequestLine = RequestHeadParser::kLongestRequestLine;
};

TEST(RequestHeadParserTest, AcceptsOrRejectsHeads) {
    const std::string longTarget(9000, 'a');
    const std::string longerTarget(65536, 'a');        // with "GET /" beyond 64 KiB
    const std::string longestTarget(65536 - 14, 'a');  // "GET /" and " HTTP/1.1"
    std::string manyHeaders = "GET / HTTP/1.1\r\nHost: h\r\n";
    for (int i = 0; i < 101; ++i) manyHeaders += "X-" + std::to_string(i) + ": v\r\n";
    std::string bigHead = "GET / HTTP/1.1\r\nHost: h\r\n";
    for (int i = 0; i < 90; ++i)
        bigHead += "X-" + std::to_string(i) + ": " + std::string(800, 'v') + "\r\n";
    const std::vector<HeadCase> cases = {
        {"plain", "GET / HTTP/1.1\r\nHost: h\r\n\r\n", State::Complete, 0},
        {"bare line feeds", "GET / HTTP/1.1\nHost: h\n\n", State::Complete, 0},
        {"blank line before", "\r\nGET / HTTP/1.1\r\nHost: h\r\n\r\n", State::Complete, 0},
        {"1.0 without Host", "GET / HTTP/1.0\r\n\r\n", State::Complete, 0},
        {"head not finished", "GET / HTTP/1.1\r\nHost: h\r\n", State::NeedMore, 0},
        {"HEAD", "HEAD / HTTP/1.1\r\nHost: h\r\n\r\n", State::Complete, 0},
        {"empty body length", "GET / HTTP/1.1\r\nHost: h\r\nContent-Length: 0\r\n\r\n",
         State::Complete, 0},
        {"1.1 without Host", "GET / HTTP/1.1\r\n\r\n", State::Rejected, 400},
        {"two Hosts", "GET / HTTP/1.1\r\nHost: a\r\nhost: b\r\n\r\n", State::Rejected, 400},
        {"version 2", "GET / HTTP/2.0\r\nHost: h\r\n\r\n", State::Rejected, 400},
        {"no version", "GET /\r\n\r\n", State::Rejected, 400},
        {"only a word", "hello\r\n\r\n", State::Rejected, 400},
        {"binary junk", std::string("\x16\x03\x01\x02\x00 \x01\x00 \xff\r\n\r\n", 14),
         State::Rejected, 400},
        {"bad method", "G(T / HTTP/1.1\r\nHost: h\r\n\r\n", State::Rejected, 400},
        {"POST", "POST / HTTP/1.1\r\nHost: h\r\n\r\n", State::Rejected, 405},
        {"relative target", "GET x HTTP/1.1\r\nHost: h\r\n\r\n", State::Rejected, 400},
        {"control in target", "GET /\x01 HTTP/1.1\r\nHost: h\r\n\r\n", State::Rejected, 400},
        {"CR inside target", "GET /a\rb HTTP/1.1\r\nHost: h\r\n\r\n", State::Rejected, 400},
        {"header without colon", "GET / HTTP/1.1\r\nHost: h\r\nnocolon\r\n\r\n", State::Rejected,
         400},
        {"blank in header name", "GET / HTTP/1.1\r\nHost: h\r\nNa me: v\r\n\r\n", State::Rejected,
         400},
        {"folded header", "GET / HTTP/1.1\r\nHost: h\r\n more\r\n\r\n", State::Rejected, 400},
        {"control in value", "GET / HTTP/1.1\r\nHost: h\r\nX: a\x01\r\n\r\n", State::Rejected, 400},
        {"announced body", "GET / HTTP/1.1\r\nHost: h\r\nContent-Length: 5\r\n\r\nhello",
         State::Rejected, 400},
        {"second length",
         "GET / HTTP/1.1\r\nHost: h\r\nContent-Length: 0\r\nContent-Length: 9\r\n\r\n",
         State::Rejected, 400},
        {"chunked body", "GET / HTTP/1.1\r\nHost: h\r\nTransfer-Encoding: chunked\r\n\r\n",
         State::Rejected, 400},
        {"long request line", "GET /" + longTarget + " HTTP/1.1\r\nHost: h\r\n\r\n",
         State::Complete, 0},
        {"request line of 64 KiB", "GET /" + longestTarget + " HTTP/1.1\r\nHost: h\r\n\r\n",
         State::Complete, 0},
        {"long line still arriving", "GET /" + longerTarget, State::Rejected, 414},
        {"request line beyond 64 KiB", "GET /" + longerTarget + " HTTP/1.1\r\nHost: h\r\n\r\n",
         State::Rejected, 414},
        {"within a lower limit",
         "GET /" + std::string(4096 - 14, 'a') + " HTTP/1.1\r\nHost: h\r\n\r\n", State::Complete, 0,
         4096},
        {"beyond a lower limit",
         "GET /" + std::string(4096 - 13, 'a') + " HTTP/1.1\r\nHost: h\r\n\r\n", State::Rejected,
         414, 4096},
        {"arriving beyond a lower limit", "GET /" + longTarget, State::Rejected, 414, 4096},
        {"blank lines without end", std::string(70000, '\n'), State::Rejected, 431},
        {"long header line", "GET / HTTP/1.1\r\nHost: h\r\nX: " + longTarget + "\r\n\r\n",
         State::Rejected, 431},
        {"too many headers", manyHeaders + "\r\n", State::Rejected, 431},
        {"head too large", bigHead + "\r\n", State::Rejected, 431},
    };
    for (const auto& c : cases) {
        const auto outcome = RequestHeadParser::parse(c.bytes, c.longestRequestLine);
        EXPECT_EQ(outcome.state, c.state) << c.label;
        if (c.state == State::Rejected) {
            EXPECT_EQ(outcome.status, c.status) << c.label;
        }
    }
}

TEST(RequestHeadParserTest, KeepsTargetBytesAndStopsAtFirstRequest) {
    const std::string first =
        "GET /patent_pdf/fetcher.php?patent=A&name=x y&pswd=p q HTTP/1.1\r\nHost: h\r\n\r\n";
    const auto outcome = RequestHeadParser::parse(first + "GET /next HTTP/1.1\r\nHost: h\r\n\r\n");
    ASSERT_EQ(outcome.state, State::Complete);
    EXPECT_EQ(outcome.request.target, "/patent_pdf/fetcher.php?patent=A&name=x y&pswd=p q");
    EXPECT_EQ(outcome.request.queryValue("pswd"), "p q");
    EXPECT_EQ(outcome.consumed, first.size());
    const auto absolute =
        RequestHeadParser::parse("GET http://h:1/p?q HTTP/1.1\r\nHost: h\r\n\r\n");
    EXPECT_EQ(absolute.request.target, "/p?q");
}

TEST(RequestHeadParserTest, MutatedHeadsGiveAnOutcomeNeverACrash) {
    const std::string seed =
        "GET /patent_pdf/fetcher.php?patent=US6892391;EP1534056&name=demo&pswd=demo HTTP/1.1\r\n"
        "Host: localhost:8741\r\nAccept: text/html, */*\r\nCookie: VantorelSession=ab\r\n\r\n";
    std::mt19937 random(20240611);
    for (int round = 0; round < 20000; ++round) {
        std::string bytes = seed;
        const int edits = 1 + static_cast<int>(random() % 8);
        for (int e = 0; e < edits; ++e) {
            const std::size_t at = random() % (bytes.size() + 1);
            switch (random() % 3) {
                case 0:
                    bytes.insert(at, 1, static_cast<char>(random()));
                    break;
                case 1:
                    if (at < bytes.size()) bytes.erase(at, 1);
                    break;
                default:
                    if (at < bytes.size()) bytes[at] = static_cast<char>(random());
                    break;
            }
        }
        const auto outcome = RequestHeadParser::parse(bytes);
        if (outcome.state == State::Complete) {
            ASSERT_LE(outcome.consumed, bytes.size());
            ASSERT_FALSE(outcome.request.target.empty());
            ASSERT_EQ(outcome.request.target.front(), '/');
        } else if (outcome.state == State::Rejected) {
            ASSERT_GE(outcome.status, 400);
            ASSERT_LT(outcome.status, 500);
        }
    }
}

TEST(HttpRequestTest, QueryKeysAndKeepAlive) {
    HttpRequest request;
    request.target = "/f?patent=A;B&name=demo&pswd=a&b&xname=n&eq=a=b&empty=";
    EXPECT_EQ(request.queryValue("patent"), "A;B");
    EXPECT_EQ(request.queryValue("pswd"), "a");  // the text after "&" is a key of its own
    EXPECT_EQ(request.queryValue("name"), "demo");
    EXPECT_EQ(request.queryValue("eq"), "a=b");
    EXPECT_EQ(request.queryValue("empty"), "");
    EXPECT_EQ(request.queryValue("b"), "");
    EXPECT_EQ(request.queryValue("missing"), std::nullopt);
    request.target = "/f";
    EXPECT_EQ(request.queryValue("patent"), std::nullopt);

    const struct {
        const char* version;
        const char* connection;
        bool keep;
    } cases[] = {{"HTTP/1.1", nullptr, true},
                 {"HTTP/1.1", "close", false},
                 {"HTTP/1.1", "Keep-Alive, CLOSE", false},
                 {"HTTP/1.0", nullptr, false},
                 {"HTTP/1.0", "keep-alive", true}};
    for (const auto& c : cases) {
        HttpRequest r;
        r.version = c.version;
        if (c.connection) r.headers.emplace_back("connection", c.connection);
        EXPECT_EQ(r.keepAlive(), c.keep) << c.version << " " << (c.connection ? c.connection : "-");
    }
}

TEST(PatentNumberTest, CanonicalForms) {
    const std::pair<const char*, std::optional<std::string>> cases[] = {
        {"us6892391", "US6892391"},
        {"6892391", "US6892391"},
        {"JP2005-117900", "JP2005117900"},
        {"WO2005/043967", "WO2005043967"},
        {"USD339456", "USD339456"},
        {"123", "123"},
        {"", std::nullopt},
        {"-/", std::nullopt},
        {"US 1", std::nullopt},
        {"../etc", std::nullopt},
        {"US1.pdf", std::nullopt},
        {"A\xC3\xA9", std::nullopt},
        {"US12345678901234567890123456789012", std::nullopt},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(canonicalPatentNumber(text), expected) << text;
}

TEST(AccountListTest, ReadsLinesAndChecksBothParts) {
    const auto list =
        AccountList::fromText("alice:secret\r\nbob:pa:ss\n\n# comment\nnopass:\n", "f");
    EXPECT_EQ(list.size(), 3u);
    EXPECT_TRUE(list.accepts("alice", "secret"));
    EXPECT_TRUE(list.accepts("bob", "pa:ss"));
    EXPECT_TRUE(list.accepts("nopass", ""));
    EXPECT_FALSE(list.accepts("alice", "secret "));
    EXPECT_FALSE(list.accepts("alice", ""));
    EXPECT_FALSE(list.accepts("Alice", "secret"));
    EXPECT_FALSE(list.accepts("bob", "pa"));
    EXPECT_FALSE(list.accepts("", ""));
    EXPECT_TRUE(AccountList::demo().accepts("demo", "demo"));
    EXPECT_FALSE(AccountList::demo().accepts("demo", "Demo"));
    for (const char* bad : {"a:b\nnocolon\n", "", "\n# only a comment\n"}) {
        EXPECT_THROW(AccountList::fromText(bad, "f"), Failure) << bad;
    }
    try {
        AccountList::fromText("a:b\nnocolon\n", "accounts.txt");
    } catch (const Failure& failure) {
        EXPECT_THAT(failure.message(), HasSubstr("accounts.txt line 2"));
    }
    EXPECT_THROW(AccountList::fromFile("/nonexistent/accounts"), Failure);
}

class FetchResponderTest : public ::testing::Test {
protected:
    FetchResponderTest() : catalogue(folder.path(), 0), responder(AccountList::demo(), catalogue) {}

    HttpResponse get(const std::string& target, const std::string& host = "localhost:8741",
                     const std::string& cookie = "") {
        HttpRequest request;
        request.method = "GET";
        request.version = "HTTP/1.1";
        request.target = target;
        if (!host.empty()) request.headers.emplace_back("Host", host);
        if (!cookie.empty()) request.headers.emplace_back("Cookie", cookie);
        return responder.respond(request, "127.0.0.1:9999");
    }
    static std::string headerOf(const HttpResponse& response, const std::string& name) {
        for (const auto& [key, value] : response.headers) {
            if (key == name) return value;
        }
        return "";
    }
    static std::string bodyOf(const HttpResponse& response) {
        if (response.sharedBody) return *response.sharedBody;
        if (response.file.isOpen()) {
            std::string bytes(response.file.size(), '\0');
            EXPECT_EQ(::pread(response.file.descriptor(), bytes.data(), bytes.size(), 0),
                      static_cast<ssize_t>(bytes.size()));
            return bytes;
        }
        return response.body;
    }

    test::TempDir folder;
    PatentCatalogue catalogue;
    FetchResponder responder;
};

TEST_F(FetchResponderTest, IndexEntriesPerNumber) {
    const std::string a = "http://localhost:8741/files/US6892391_full.pdf<br>";
    const std::string e = "http://localhost:8741/files/EP1534056_full.pdf<br>";
    const std::pair<std::string, std::string> cases[] = {
        {"US6892391", a},
        {"us6892391;EP1534056", a + e},
        {"6892391", a},
        {" US6892391 ; ep1534056 ", a + e},
        {"", "<br>"},
        {"US6892391;;", a + "<br><br>"},
        {"XX999", "Error: patent XX999 was not found<br>"},
        {"US1.5", "Error: US1.5 is not a patent number<br>"},
        {"a<br>b", "Error: a?br?b is not a patent number<br>"},
    };
    for (const auto& [request, body] : cases) {
        EXPECT_EQ(responder.indexBody(request, "localhost:8741"), body) << request;
    }
}

TEST_F(FetchResponderTest, EverySampleOfTheFirstTabIsListed) {
    // As the tab shows them, after the client's normalisation.
    const std::string tab =
        "6892391;US6892391;US2005102719;USRE35312;USPP8901;USD339456;UST109201;USH1523;"
        "WO2005043967;EP1534056;DE10362030;JP2005117900;GB2408435;FR2862839;RU2207970;"
        "AU2954402;IE12123;FI5443;NL293832;IT1245565;SE193831;DK1;CZ291233;GR1002344;ES9400001";
    const std::string body = responder.indexBody(tab, "h");
    EXPECT_THAT(body, ::testing::Not(HasSubstr("Error:")));
    std::size_t entries = 0;
    for (std::size_t at = body.find("<br>"); at != std::string::npos;
         at = body.find("<br>", at + 1)) {
        ++entries;
    }
    EXPECT_EQ(entries, 25u);
}

TEST_F(FetchResponderTest, AccountAndMissingKeys) {
    EXPECT_EQ(get("/patent_pdf/fetcher.php?patent=US6892391&name=demo&pswd=wrong").body,
              "Incorrect login or password<br>");
    EXPECT_EQ(get("/patent_pdf/fetcher.php?patent=US6892391&name=&pswd=").body,
              "Incorrect login or password<br>");
    // A password holding "&" arrives cut there, as the client sends it.
    EXPECT_EQ(get("/patent_pdf/fetcher.php?patent=DK1&name=demo&pswd=demo&x").body,
              "http://localhost:8741/files/DK1_full.pdf<br>");
    for (const char* target :
         {"/patent_pdf/fetcher.php", "/patent_pdf/fetcher.php?name=demo&pswd=demo",
          "/patent_pdf/fetcher.php?patent=DK1&pswd=demo",
          "/patent_pdf/fetcher.php?patent=DK1&name=demo"}) {
        EXPECT_EQ(get(target).status, 400) << target;
    }
}

TEST_F(FetchResponderTest, AddressesFollowTheHostHeader) {
    const std::pair<std::string, std::string> cases[] = {
        {"localhost:8741", "http://localhost:8741/"},
        {"127.0.0.1:5", "http://127.0.0.1:5/"},
        {"", "http://127.0.0.1:9999/"},
        {"evil\"<x>", "http://127.0.0.1:9999/"},
        {"a b", "http://127.0.0.1:9999/"},
    };
    for (const auto& [host, prefix] : cases) {
        const auto body = get("/patent_pdf/fetcher.php?patent=DK1&name=demo&pswd=demo", host).body;
        EXPECT_EQ(body, prefix + "files/DK1_full.pdf<br>") << host;
    }
}

TEST_F(FetchResponderTest, SessionCookie) {
    const auto first = get("/patent_pdf/fetcher.php?patent=DK1&name=demo&pswd=demo");
    const std::string cookie = headerOf(first, "Set-Cookie");
    const std::string prefix = "VantorelSession=", suffix = "; Path=/; HttpOnly";
    ASSERT_EQ(cookie.size(), prefix.size() + 32 + suffix.size()) << cookie;
    ASSERT_EQ(cookie.substr(0, prefix.size()), prefix);
    ASSERT_EQ(cookie.substr(prefix.size() + 32), suffix);
    const std::string id = cookie.substr(prefix.size(), 32);
    EXPECT_EQ(id.find_first_not_of("0123456789abcdef"), std::string::npos) << id;
    const std::string session = prefix + id;
    const auto again =
        get("/patent_pdf/fetcher.php?patent=DK1&name=demo&pswd=demo", "h", "a=b; " + session);
    EXPECT_THAT(headerOf(again, "Set-Cookie"), HasSubstr(session));
    const auto forged = get("/patent_pdf/fetcher.php?patent=DK1&name=demo&pswd=demo", "h",
                            "VantorelSession=<script>");
    EXPECT_THAT(headerOf(forged, "Set-Cookie"), ::testing::Not(HasSubstr("<script>")));
    EXPECT_EQ(get("/files/DK1_full.pdf", "h", session).status, 200);
    EXPECT_EQ(get("/files/DK1_full.pdf", "h").status, 200);
}

TEST_F(FetchResponderTest, OverHttpsAddressesAndSessionAreHttpsOnly) {
    FetchResponder secure(AccountList::demo(), catalogue, "https");
    HttpRequest request;
    request.method = "GET";
    request.version = "HTTP/1.1";
    request.target = "/patent_pdf/fetcher.php?patent=DK1&name=demo&pswd=demo";
    request.headers.emplace_back("Host", "localhost:8741");
    const auto response = secure.respond(request, "127.0.0.1:9999");
    EXPECT_EQ(response.body, "https://localhost:8741/files/DK1_full.pdf<br>");
    EXPECT_THAT(headerOf(response, "Set-Cookie"), ::testing::EndsWith("; HttpOnly; Secure"));
}

TEST_F(FetchResponderTest, DocumentsAndUnknownPaths) {
    const std::string stored = "%PDF-1.4 stored document\n%%EOF\n";
    test::writeFile(folder.file("ab-123.PDF"), stored);
    EXPECT_EQ(responder.indexBody("AB123", "h"), "http://h/files/AB123_full.pdf<br>");
    const std::pair<const char*, int> cases[] = {
        {"/files/US6892391_full.pdf", 200},
        {"/files/us6892391_FULL.pdf", 200},
        {"/files/AB123_full.pdf", 200},
        {"/files/XX1_full.pdf", 404},
        {"/files/US6892391.pdf", 404},
        {"/files/_full.pdf", 404},
        {"/files/../US6892391_full.pdf", 404},
        {"/files/a/DK1_full.pdf", 404},
        {"/files/", 404},
        {"/patent_pdf/other.php", 404},
        {"/favicon.ico", 404},
    };
    for (const auto& [target, status] : cases) EXPECT_EQ(get(target).status, status) << target;
    const auto document = get("/files/ab123_full.pdf");
    EXPECT_EQ(headerOf(document, "Content-Type"), "application/pdf");
    EXPECT_EQ(document.bodySize(), stored.size());
    EXPECT_EQ(bodyOf(document), stored);
    // A file added while running is found without a restart.
    test::writeFile(folder.file("ZZ7.pdf"), stored);
    EXPECT_EQ(get("/files/ZZ7_full.pdf").status, 200);
}

TEST(SamplePdfTest, ValidAtAnySizeAndShowsTheNumber) {
    test::TempDir folder;
    const std::size_t natural = SamplePdf::generate("EP1534056").size();
    for (std::size_t wanted : {std::size_t{0}, std::size_t{100}, natural + 1, natural + 7,
                               std::size_t{100000}, std::size_t{1000003}}) {
        const std::string document = SamplePdf::generate("EP1534056", wanted);
        // Exact once the gap holds the filler object's own few dozen bytes.
        if (wanted >= natural + 100) {
            EXPECT_EQ(document.size(), wanted);
        } else {
            EXPECT_GE(document.size(), std::max(wanted, natural)) << wanted;
            EXPECT_LT(document.size(), natural + 100) << wanted;
        }
        EXPECT_EQ(document.compare(0, 8, "%PDF-1.4"), 0);
        EXPECT_THAT(document, HasSubstr("(EP1534056) Tj"));
        if (!test::havePdfinfo()) continue;
        const std::string report = test::pdfinfoReport(document, folder.path());
        EXPECT_THAT(report, HasSubstr("Pages:           3")) << wanted;
        EXPECT_THAT(report, HasSubstr("Title:           EP1534056")) << wanted;
    }
    if (!test::havePdfinfo()) FAIL() << "pdfinfo is missing (package poppler-utils)";
}

TEST(RequestLogTest, PasswordsAreMaskedAndBytesEscaped) {
    const std::pair<std::string, std::string> cases[] = {
        {"GET /f?patent=1&name=u&pswd=secret HTTP/1.1", "GET /f?patent=1&name=u&pswd=*** HTTP/1.1"},
        {"GET /f?pswd=a b c HTTP/1.1", "GET /f?pswd=*** HTTP/1.1"},
        // A password may hold "&": everything up to the end of the query goes.
        {"GET /f?pswd=s&x=1&pswd=t HTTP/1.0", "GET /f?pswd=*** HTTP/1.0"},
        {"GET /f?name=u&pswd=se&cret HTTP/1.1", "GET /f?name=u&pswd=*** HTTP/1.1"},
        {"GET /f?pswd=se&cret&name=u HTTP/1.1", "GET /f?pswd=*** HTTP/1.1"},
        {"GET /f?name=u&pswd=a b&c", "GET /f?name=u&pswd=***"},
        {"GET /f?pswd=secret", "GET /f?pswd=***"},
        {"GET /f?xpswd=shown HTTP/1.1", "GET /f?xpswd=shown HTTP/1.1"},
        {"GET /pswd=shown HTTP/1.1", "GET /pswd=shown HTTP/1.1"},
        {std::string("GET /\x01\xff HTTP/1.1"), "GET /\\x01\\xFF HTTP/1.1"},
    };
    for (const auto& [line, logged] : cases)
        EXPECT_EQ(RequestLog::maskedRequestLine(line), logged) << line;
    EXPECT_LT(RequestLog::maskedRequestLine(std::string(100000, 'a')).size(), 600u);
}

TEST(ServiceOptionsTest, CommandLine) {
    const auto defaults = ServiceOptions::parse({});
    EXPECT_EQ(defaults.listen, "127.0.0.1:8741");
    EXPECT_TRUE(defaults.catalogue.empty() && defaults.accounts.empty() && defaults.log.empty());
    const auto given = ServiceOptions::parse({"--listen=127.0.0.1:0", "--catalogue", "/c",
                                              "--accounts", "/a", "--log", "/l", "--sample-size",
                                              "1048576", "--max-request-line", "4096"});
    EXPECT_EQ(given.listen, "127.0.0.1:0");
    EXPECT_EQ(given.catalogue, "/c");
    EXPECT_EQ(given.accounts, "/a");
    EXPECT_EQ(given.log, "/l");
    EXPECT_EQ(given.sampleSize, 1048576u);
    EXPECT_EQ(given.maxRequestLine, 4096u);
    const auto tls = ServiceOptions::parse({"--tls-cert", "/c.pem", "--tls-key=/k.pem"});
    EXPECT_EQ(tls.tlsCertificate, "/c.pem");
    EXPECT_EQ(tls.tlsKey, "/k.pem");
    EXPECT_TRUE(ServiceOptions::parse({"--help"}).help);
    for (const std::vector<std::string>& bad : {std::vector<std::string>{"--port", "1"},
                                                {"--listen"},
                                                {"--sample-size", "12x"},
                                                {"--sample-size", "99999999999"},
                                                {"--sample-size=-1"},
                                                {"--max-request-line", "65537"},
                                                {"--max-request-line", "100"},
                                                {"--tls-cert", "/c.pem"},
                                                {"--tls-key", "/k.pem"},
                                                {"extra"}}) {
        EXPECT_THROW(ServiceOptions::parse(bad), Failure) << bad[0];
    }
    for (const char* good : {"127.0.0.1:0", "8741", "localhost:80", "0.0.0.0:8741"}) {
        EXPECT_NO_THROW(HttpServer::parseListenAddress(good)) << good;
    }
    for (const char* bad :
         {"host.example:1", "127.0.0.1:70000", "127.0.0.1:", "127.0.0.1:-1", "::1:80", ""}) {
        EXPECT_THROW(HttpServer::parseListenAddress(bad), Failure) << bad;
    }
}

}  // namespace
}  // namespace vantorel::service
