#include <gtest/gtest.h>

#include "platform/Failure.h"
#include "retrieval/HttpUrl.h"
#include "support/CaseName.h"

namespace vantorel {
namespace {

struct UrlCase {
    const char* text;
    const char* host;
    const char* portText;
    const char* target;
    const char* hostValue;
};

class HttpUrlParse : public testing::TestWithParam<UrlCase> {};

TEST_P(HttpUrlParse, SplitsAsTheClientSendsIt) {
    HttpUrl previous;
    previous.host = "prev";
    previous.portText = "8080";
    previous.port = 8080;
    previous.target = "/p/q/fetch.php?x=/y/";
    const UrlCase& c = GetParam();
    const HttpUrl url = HttpUrl::parse(c.text, previous);
    EXPECT_EQ(url.host, c.host);
    EXPECT_EQ(url.portText, c.portText);
    EXPECT_EQ(url.target, c.target);
    EXPECT_EQ(url.hostValue(), c.hostValue);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HttpUrlParse,
    testing::Values(UrlCase{"http://h/a/b.php?x=1", "h", "80", "/a/b.php?x=1", "h"},
                    UrlCase{"http://h:8081/", "h", "8081", "/", "h:8081"},
                    UrlCase{"http://h:80/x", "h", "80", "/x", "h"},
                    UrlCase{"HTTPS://h/", "h", "443", "/", "h"},
                    UrlCase{"https://h:8443/", "h", "8443", "/", "h:8443"},
                    // Another scheme keeps the previous request's port.
                    UrlCase{"ftp://h/x", "h", "8080", "/x", "h:8080"},
                    UrlCase{"http://user:pa@ss@h/x", "h", "80", "/x", "h"},
                    UrlCase{"http://h", "h", "80", "/", "h"},
                    UrlCase{"http:\\\\h\\a\\b?c=\\d", "h", "80", "/a/b?c=/d", "h"},
                    UrlCase{"http://h/a b/c?q=%41&r=\xE9 x", "h", "80", "/a b/c?q=%41&r=\xE9 x",
                            "h"},
                    // Fragments: in the document part up to the query, else in the query.
                    UrlCase{"http://h/dir/doc#frag?q=1", "h", "80", "/dir/doc?q=1", "h"},
                    UrlCase{"http://h/dir/doc?q=1#frag", "h", "80", "/dir/doc?q=1", "h"},
                    UrlCase{"http://h/dir/doc=1#x", "h", "80", "/dir/doc=1", "h"},
                    UrlCase{"http://h/d#x/doc", "h", "80", "/d#x/doc", "h"},
                    // Relative to the previous request's directory.
                    UrlCase{"files/a.pdf", "prev", "8080", "/p/q/files/a.pdf", "prev:8080"},
                    UrlCase{"../a.pdf", "prev", "8080", "/p/a.pdf", "prev:8080"},
                    UrlCase{"./x/./y/", "prev", "8080", "/p/q/x/y/", "prev:8080"},
                    UrlCase{"../../../a?b=../c", "prev", "8080", "/a?b=../c", "prev:8080"},
                    UrlCase{"/root.pdf#top", "prev", "8080", "/root.pdf", "prev:8080"},
                    UrlCase{"", "prev", "8080", "/p/q/", "prev:8080"}),
    [](const auto& info) { return test::caseName(info.index, info.param.text); });

TEST(HttpUrl, DirectoryPathEndsAtTheLastSlashBeforeTheQuery) {
    HttpUrl url;
    url.target = "/p/q/fetch.php?x=/y/";
    EXPECT_EQ(url.directoryPath(), "/p/q/");
    url.target = "/doc=a/b";
    EXPECT_EQ(url.directoryPath(), "/");
}

TEST(HttpUrl, PortMustBeAWholeNumber) {
    const HttpUrl previous;
    for (const char* text : {"http://h:8x/", "http://h:/"}) {
        try {
            HttpUrl::parse(text, previous);
            ADD_FAILURE() << text;
        } catch (const Failure& failure) {
            const std::string port = std::string(text).substr(9, std::string(text).size() - 10);
            EXPECT_EQ(failure.message(), "'" + port + "' is not a valid integer value");
        }
    }
    EXPECT_THROW(HttpUrl::parse("http://h:70000/", previous), Failure);
}

}  // namespace
}  // namespace vantorel
