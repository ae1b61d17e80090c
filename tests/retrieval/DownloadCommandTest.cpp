#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "AllocationMeter.h"
#include "FakeDownloadHost.h"
#include "platform/Failure.h"
#include "platform/TextRules.h"
#include "retrieval/DownloadCommand.h"
#include "retrieval/FetchProtocol.h"
#include "support/CaseName.h"
#include "support/TempDir.h"

namespace vantorel {
namespace {

using test::AllocationMeter;
using test::FakeDownloadHost;
using test::readFile;
using test::TempDir;

// Answers URLs from a table; a reply may report progress while it "arrives".
class FakeGetter : public PageGetter {
public:
    std::map<std::string, std::string> bodies;
    std::map<std::string, std::string> failures;
    std::vector<std::string> requested;
    int readTimeout = -12345;
    long long length = -1;
    DownloadCommand* command = nullptr;  // receives work events when set

    std::string get(const std::string& url) override {
        requested.push_back(url);
        if (auto f = failures.find(url); f != failures.end()) throw Failure(f->second);
        auto b = bodies.find(url);
        if (b == bodies.end()) throw Failure("unexpected " + url);
        length = static_cast<long long>(b->second.size());
        if (command) {
            command->onWork(length / 2);
            command->onWork(length);
        }
        return b->second;
    }
    void setReadTimeout(int ms) override { readTimeout = ms; }
    void setCaFile(const std::string& file) override { caFile = file; }
    long long expectedLength() const override { return length; }
    std::string caFile = "unset";
};

const std::string kIndex =
    "http://localhost:8741/patent_pdf/fetcher.php?patent=US6892391&name=demo&pswd=demo";

std::string file(int i) {
    return "http://h/files/P" + std::to_string(i) + "_full.pdf";
}

struct CommandRun {
    TempDir dir;
    FakeDownloadHost host;
    FakeGetter getter;
    DownloadCommand command{host, getter};
    CommandRun() { host.settings.PatentPath = dir.folder(); }
    void index(const std::string& body) { getter.bodies[kIndex] = body; }
};

TEST(DownloadCommand, EmptyRequestSendsNothing) {
    for (const char* request : {"", " , . : ", "  "}) {
        CommandRun r;
        r.host.request = request;
        r.command.run();
        EXPECT_EQ(r.host.events,
                  (std::vector<std::string>{
                      "disabled", "message:You must provide non-empty request.", "enabled"}));
        EXPECT_TRUE(r.getter.requested.empty());
        EXPECT_EQ(r.host.progress, (std::vector<int>{0}));
    }
}

TEST(DownloadCommand, ReadTimeoutIsSecondsTimesAThousandWrapping) {
    const std::pair<const char*, int> cases[] = {
        {"120", 120000},
        {" 120", 120000},
        {"0", 0},
        {"$10", 16000},
        {"2147484", static_cast<int>(2147484000u)},  // wraps past 2^31
        {"-1", -1000},
    };
    for (const auto& [text, ms] : cases) {
        CommandRun r;
        r.host.timeout = text;
        r.index("");
        r.command.run();
        EXPECT_EQ(r.getter.readTimeout, ms) << text;
    }
}

TEST(DownloadCommand, ATimeoutTextThatIsNoNumberReachesTheErrorBoxAfterRestoring) {
    CommandRun r;
    r.host.timeout = "120 ";
    try {
        r.command.run();
        FAIL();
    } catch (const Failure& failure) {
        EXPECT_EQ(failure.message(), "'120 ' is not a valid integer value");
    }
    EXPECT_EQ(r.host.events, (std::vector<std::string>{"disabled", "enabled"}));
    EXPECT_EQ(r.host.progress, (std::vector<int>{1, 0}));
    EXPECT_TRUE(r.getter.requested.empty());
}

TEST(DownloadCommand, FetchFailuresAreCutAtTheirLastArrow) {
    const std::pair<const char*, std::string> cases[] = {
        {"THTTPClient.DoRequest#1 --> THTTPClient.DoRequest#4 --> HTTP/1.1 404 Not Found",
         "Exception:  HTTP/1.1 404 Not Found"},
        {"THTTPClient.DoRequest#1 --> THTTPClient.DoRequest#3 --> Read Timeout",
         "Exception: " + DownloadCommand::timeoutMessage()},
        {"a --> b --> x Read Timeout y", "Exception: " + DownloadCommand::timeoutMessage()},
        {"Read timeout", "Exception: Read timeout"},  // the test is case-sensitive
        {"no arrows", "Exception: no arrows"},
        {"a-->b-->", "Exception: "},
    };
    for (const auto& [failure, shown] : cases) {
        CommandRun r;
        r.getter.failures[kIndex] = failure;
        r.command.run();
        EXPECT_EQ(r.host.messages(), (std::vector<std::string>{shown})) << failure;
        EXPECT_EQ(r.host.rescans, 0);
        EXPECT_EQ(r.host.events.back(), "enabled");
    }
}

TEST(DownloadCommand, TimeoutMessageHasThreeLines) {
    EXPECT_EQ(DownloadCommand::timeoutMessage(),
              "Sorry,a timeout error has occured.\n\r"
              "This could be caused either by the internet connection problem or a large size of "
              "the patent it self.\n\r"
              "We recomend increasing \"timeout\" setting in the \"Settings\" tab if this error "
              "persits.");
}

TEST(DownloadCommand, AnIndexWithoutMarkersRefreshesTheListOnly) {
    CommandRun r;
    r.index("nothing here");
    r.command.run();
    EXPECT_EQ(r.host.events, (std::vector<std::string>{"disabled", "rescan", "enabled"}));
    EXPECT_EQ(r.host.progress, (std::vector<int>{1, 0}));
}

TEST(DownloadCommand, CredentialsRejectedStopsAtOnce) {
    CommandRun r;
    r.index(file(0) + "<br>Error: Incorrect login or password<br>" + file(2) + "<br>");
    r.getter.bodies[file(0)] = "%PDF-0";
    r.host.preference = 2;
    r.command.run();
    EXPECT_EQ(r.host.messages(), (std::vector<std::string>{"Incorrect login or password"}));
    EXPECT_EQ(r.host.rescans, 0);
    EXPECT_EQ(readFile(r.dir.file("P0.pdf")), "%PDF-0");
    EXPECT_EQ(r.getter.requested.size(), 2u);
}

TEST(DownloadCommand, PreferenceOneWithErrorFirstOpensNothing) {
    CommandRun r;
    r.host.preference = 1;
    r.index("Error: X1 not found<br>" + file(1) + "<br>" + file(2) + "<br>");
    r.getter.bodies[file(1)] = "one";
    r.getter.bodies[file(2)] = "two";
    r.command.run();
    EXPECT_EQ(r.host.events, (std::vector<std::string>{"disabled", "message:Error: X1 not found",
                                                       "rescan", "enabled"}));
    EXPECT_EQ(readFile(r.dir.file("P1.pdf")), "one");
    EXPECT_EQ(readFile(r.dir.file("P2.pdf")), "two");
}

TEST(DownloadCommand, ViewingPreferences) {
    const std::pair<int, std::vector<std::string>> cases[] = {
        {0, {"open:P0.pdf", "open:P1.pdf"}}, {1, {"open:P0.pdf"}}, {2, {}}, {-1, {}}};
    for (const auto& [preference, opened] : cases) {
        CommandRun r;
        r.host.preference = preference;
        r.index(file(0) + "<br>" + file(1) + "<br>");
        r.getter.bodies[file(0)] = "a";
        r.getter.bodies[file(1)] = "b";
        r.command.run();
        std::vector<std::string> seen;
        for (const auto& e : r.host.events)
            if (e.rfind("open:", 0) == 0)
                seen.push_back("open:" + e.substr(e.find_last_of("/\\") + 1));
        EXPECT_EQ(seen, opened) << preference;
    }
}

TEST(DownloadCommand, DeclinedReloadStillOpensTheExistingFile) {
    CommandRun r;
    test::writeFile(r.dir.file("P0.pdf"), "old");
    r.index(file(0) + "<br>" + file(1) + "<br>");
    r.getter.bodies[file(1)] = "new1";
    test::writeFile(r.dir.file("P1.pdf"), "old1");
    r.host.answers = {false, true};
    r.command.run();
    const std::string ask =
        "ask:Warning:Patent P0.pdf already exists in local database. Do you "
        "want to reload it?";
    EXPECT_EQ(r.host.events[1], ask);
    EXPECT_EQ(r.host.events[2], "open:" + r.dir.file("P0.pdf"));
    EXPECT_EQ(readFile(r.dir.file("P0.pdf")), "old");
    EXPECT_EQ(readFile(r.dir.file("P1.pdf")), "new1");
    EXPECT_EQ(r.getter.requested, (std::vector<std::string>{kIndex, file(1)}));
}

TEST(DownloadCommand, AFailedFileRequestShowsTheWholeChainAndStops) {
    CommandRun r;
    r.host.preference = 2;
    r.index(file(0) + "<br>" + file(1) + "<br>" + file(2) + "<br>");
    r.getter.bodies[file(0)] = "a";
    r.getter.failures[file(1)] =
        "THTTPClient.DoRequest#1 --> THTTPClient.DoRequest#4 --> HTTP/1.1 404 Not Found";
    // Nothing half-written waits in the folder while the box is open.
    std::vector<std::string> whileShown;
    r.host.onMessage = [&] {
        for (const auto& entry : std::filesystem::directory_iterator(r.dir.path()))
            whileShown.push_back(entry.path().filename().string());
    };
    r.command.run();
    EXPECT_EQ(whileShown, (std::vector<std::string>{"P0.pdf"}));
    EXPECT_EQ(r.host.messages(),
              (std::vector<std::string>{"Exception: THTTPClient.DoRequest#1 --> "
                                        "THTTPClient.DoRequest#4 --> HTTP/1.1 404 Not Found"}));
    EXPECT_EQ(r.host.rescans, 0);
    EXPECT_TRUE(std::filesystem::exists(r.dir.file("P0.pdf")));
    EXPECT_EQ(r.getter.requested.size(), 3u);
}

TEST(DownloadCommand, AFileThatCannotBeCreatedEndsTheRunInTheErrorBox) {
    CommandRun r;
    r.host.settings.PatentPath = r.dir.file("missing/");
    r.index(file(0) + "<br>" + file(1) + "<br>");
    r.getter.bodies[file(0)] = "a";
    try {
        r.command.run();
        FAIL();
    } catch (const Failure& failure) {
        EXPECT_EQ(failure.message(), "Cannot create file " + r.dir.file("missing/P0.pdf"));
    }
    EXPECT_EQ(r.host.events.back(), "enabled");
    EXPECT_EQ(r.host.progress.back(), 0);
    EXPECT_EQ(r.getter.requested.size(), 1u);  // the file itself is never requested
}

TEST(DownloadCommand, NamesThatWouldLeaveTheFolderAreRefusedAndTheRunGoesOn) {
    CommandRun r;
    r.host.preference = 2;
    const std::string evil = "http://h/files/..\\..\\evil.pdf";
    r.index("http://h/files/<br>" + evil + "<br>" + file(1) + "<br>");
    r.getter.bodies[file(1)] = "ok";
    r.command.run();
    ASSERT_EQ(r.host.messages().size(), 2u);
    EXPECT_NE(r.host.messages()[1].find(evil), std::string::npos);
    EXPECT_EQ(r.getter.requested, (std::vector<std::string>{kIndex, file(1)}));
    EXPECT_EQ(readFile(r.dir.file("P1.pdf")), "ok");
    EXPECT_EQ(r.host.rescans, 1);
}

TEST(DownloadCommand, AnHttpsServiceGetsItsCaFileAndListsNoAddressThatLeavesHttps) {
    CommandRun r;
    r.host.preference = 2;
    r.host.host = "https://localhost:8741";
    r.host.ca = "/etc/company-ca.pem";
    const std::string index =
        "https://localhost:8741/patent_pdf/fetcher.php?patent=US6892391&name=demo&pswd=demo";
    r.getter.bodies[index] = "http://h/files/P1_full.pdf<br>https://h/files/P2_full.pdf<br>";
    r.getter.bodies["https://h/files/P2_full.pdf"] = "two";
    r.command.run();
    EXPECT_EQ(r.getter.caFile, "/etc/company-ca.pem");
    EXPECT_EQ(r.getter.requested, (std::vector<std::string>{index, "https://h/files/P2_full.pdf"}));
    ASSERT_EQ(r.host.messages().size(), 1u);
    EXPECT_EQ(r.host.messages()[0],
              FetchProtocol::unencryptedAddressMessage("http://h/files/P1_full.pdf"));
    EXPECT_EQ(readFile(r.dir.file("P2.pdf")), "two");
}

TEST(DownloadCommand, EachEntryReadsThePatentFolderAfresh) {
    CommandRun r;
    TempDir second;
    r.host.preference = 2;
    r.index(file(0) + "<br>" + file(1) + "<br>");
    r.getter.bodies[file(0)] = "a";
    r.getter.bodies[file(1)] = "b";
    r.getter.command = &r.command;
    r.host.onPump = [&] { r.host.settings.PatentPath = second.folder(); };
    r.command.run();
    EXPECT_TRUE(std::filesystem::exists(second.file("P1.pdf")));
}

// Refuses fetch requests naming more than `most` numbers with 414 (or the
// request numbered `failing` with 404); lists each number Pi as file(i).
struct ShortLineService : FakeGetter {
    std::size_t most = 0;
    int failing = -1;
    bool rejectAccount = false;
    std::vector<std::string> sent;  // the fetch requests' numbers
    int refused = 0;

    std::string get(const std::string& url) override {
        const std::size_t at = url.find("?patent=");
        if (at == std::string::npos) return FakeGetter::get(url);
        const std::string numbers = url.substr(at + 8, url.find("&name=") - at - 8);
        sent.push_back(numbers);
        refused = static_cast<int>(sent.size()) - 1 == failing ? 404 : 0;
        const auto separators = std::count(numbers.begin(), numbers.end(), ';');
        if (static_cast<std::size_t>(separators) + 1 > most) refused = 414;
        if (refused) throw Failure("a --> b --> HTTP/1.1 " + std::to_string(refused) + " Refused");
        std::string body;
        for (std::size_t from = 0, end = 0; from <= numbers.size(); from = end + 1) {
            end = std::min(numbers.find(';', from), numbers.size());
            body += "http://h/files/" + numbers.substr(from, end - from) + "_full.pdf<br>";
        }
        return rejectAccount ? "Incorrect login or password<br>" : body;
    }
    int refusedStatus() const override { return refused; }
};

TEST(DownloadCommand, ARequestRefusedAsTooLongIsFetchedInHalvesInOneRun) {
    struct Case {
        int numbers;
        std::size_t most;
        std::vector<std::string> sent;
        std::string message;  // none: every file saved
        int failing = -1;
        bool rejectAccount = false;
    };
    const Case cases[] = {
        {3, 3, {"P0;P1;P2"}, ""},  // taken whole: sent as ever
        {5, 2, {"P0;P1;P2;P3;P4", "P0;P1", "P2;P3;P4", "P2", "P3;P4"}, ""},
        {4, 1, {"P0;P1;P2;P3", "P0;P1", "P0", "P1", "P2;P3", "P2", "P3"}, ""},
        {3, 0, {"P0;P1;P2", "P0"}, "Exception:  HTTP/1.1 414 Refused"},
        {4, 2, {"P0;P1;P2;P3", "P0;P1", "P2;P3"}, "Exception:  HTTP/1.1 404 Refused", 2},
        {4, 2, {"P0;P1;P2;P3", "P0;P1"}, "Incorrect login or password", -1, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sent.back());
        CommandRun r;
        ShortLineService service;
        DownloadCommand command{r.host, service};
        r.host.preference = 2;
        r.host.request = "P0";
        for (int i = 0; i < c.numbers; ++i) {
            if (i) r.host.request += ";P" + std::to_string(i);
            service.bodies[file(i)] = "pdf" + std::to_string(i);
        }
        service.most = c.most;
        service.failing = c.failing;
        service.rejectAccount = c.rejectAccount;
        command.run();
        EXPECT_EQ(service.sent, c.sent);
        // Else one bar over all parts' entries, every file, one rebuild of the list.
        std::vector<int> bar{1};
        for (int i = 0; c.message.empty() && i < c.numbers; ++i) {
            EXPECT_EQ(readFile(r.dir.file("P" + std::to_string(i) + ".pdf")),
                      "pdf" + std::to_string(i));
            bar.push_back(roundHalfEven(100.0 / c.numbers) * i + 2);
        }
        bar.push_back(0);
        EXPECT_EQ(r.host.progress, bar);
        EXPECT_EQ(r.host.messages(), c.message.empty() ? std::vector<std::string>{}
                                                       : std::vector<std::string>{c.message});
        EXPECT_EQ(r.host.rescans, c.message.empty() ? 1 : 0);
    }
}

// Progress: the bar during the fetch request stays at 1; each entry gets a band.
struct Bands {
    int entries;
    int share;
};

class DownloadProgress : public testing::TestWithParam<Bands> {};

TEST_P(DownloadProgress, MovesThroughOneBandPerEntry) {
    const auto [entries, share] = GetParam();
    CommandRun r;
    r.host.preference = 2;
    std::string body;
    for (int i = 0; i < entries; ++i) {
        body += file(i) + "<br>";
        r.getter.bodies[file(i)] = std::string(100, 'x');
    }
    r.index(body);
    r.getter.command = &r.command;
    r.command.run();
    EXPECT_EQ(r.command.fileCount(), entries);
    std::vector<int> expected{1, 1, 1};  // bar set, then two work events during the index
    for (int i = 0; i < entries; ++i) {
        expected.push_back(share * i + 2);
        expected.push_back(roundHalfEven(50.0 / 100 * share) + share * i);
        expected.push_back(share + share * i);
    }
    expected.push_back(0);
    expected.erase(expected.begin() + 1, expected.begin() + 3);  // no bar moves while fetching
    EXPECT_EQ(r.host.progress, expected);
}

INSTANTIATE_TEST_SUITE_P(Shares, DownloadProgress,
                         testing::Values(Bands{3, 33}, Bands{8, 12}, Bands{6, 17}, Bands{200, 0},
                                         Bands{1, 100}),
                         [](const auto& info) {
                             const std::string entries = std::to_string(info.param.entries);
                             return test::caseName(info.index, entries + "entries");
                         });

// An Index response of nothing but markers is walked, not copied entry by entry.
TEST(DownloadCommand, AnIndexOfOnlyMarkersTakesLittleMoreThanItsBody) {
    struct QuietHost : FakeDownloadHost {
        void setProgress(int) override {}
    };
    TempDir dir;
    QuietHost host;
    FakeGetter getter;
    DownloadCommand command{host, getter};
    std::string body;
    for (int i = 0; i < (1 << 20); ++i) body += "<br>";
    getter.bodies[kIndex] = body;
    const AllocationMeter meter;
    command.run();
    EXPECT_EQ(command.fileCount(), 1 << 20);
    // The getter's copy of the body is all that is needed.
    EXPECT_LT(meter.peak(), 2 * body.size());
}

}  // namespace
}  // namespace vantorel
