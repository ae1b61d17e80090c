#include <gtest/gtest.h>

#include "retrieval/CookieStore.h"
#include "retrieval/InternetDate.h"
#include "support/CaseName.h"

namespace vantorel {
namespace {

struct SendCase {
    std::vector<std::string> setCookies;
    const char* setHost;
    const char* requestHost;
    const char* directory;
    const char* expected;
};

class CookieSending : public testing::TestWithParam<SendCase> {};

TEST_P(CookieSending, BuildsTheCookieHeader) {
    const SendCase& c = GetParam();
    CookieStore store([] { return 1000000000; });
    store.store(c.setCookies, c.setHost);
    EXPECT_EQ(store.cookieList(c.requestHost, c.directory), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CookieSending,
    testing::Values(
        // A leading-dot domain reaches hosts containing it, not the bare name.
        SendCase{{"a=1; Domain=.example.com; Path=/"}, "x", "www.EXAMPLE.com", "/", "a=1"},
        SendCase{{"a=1; Domain=.example.com; Path=/"}, "x", "example.com", "/", ""},
        SendCase{{"a=1; Path=/patent_pdf/"}, "h", "h", "/patent_pdf/files/", "a=1"},
        SendCase{{"a=1; Path=/patent_pdf/"}, "h", "h", "/", ""},
        SendCase{{"a=1; Path=\"/x/\""}, "h", "h", "/x/", "a=1"},
        SendCase{{"a=1; Path=/x/"}, "h", "h", "/X/", ""},
        // Same name under the same key: the second replaces the first.
        SendCase{{"a=1; Path=/", "A=2; Path=/b/"}, "h", "h", "/b/", "A=2"},
        SendCase{{"a=1; Path=/; Secure"}, "h", "h", "/", ""},
        SendCase{{"a=; Path=/"}, "h", "h", "/", ""},
        SendCase{{"c1=1; Path=/", "c3=3; Path=/a/b/", "c2=2; Path=/a/"},
                 "h",
                 "h",
                 "/a/b/",
                 "c3=3; c2=2; c1=1"},
        // Without Path a cookie goes with every target.
        SendCase{{"a=1"}, "h", "h", "/any/", "a=1"},
        SendCase{{"a=1; path=/; domain=other"}, "h", "h", "/", ""},
        // Control bytes would end up in our request header: refused.
        SendCase{{"a=1\rX-Injected: 1; Path=/"}, "h", "h", "/", ""},
        SendCase{{"sid = x y ; Path=/ ; Version=1"}, "h", "h", "/", "sid = x y"}),
    [](const auto& info) {
        const std::string target = std::string(info.param.requestHost) + info.param.directory;
        return test::caseName(info.index, target);
    });

TEST(CookieStore, ExpiredCookiesAreSweptBeforeTheList) {
    std::int64_t now = 1623233894;  // Wed, 09 Jun 2021 10:18:14 GMT
    CookieStore store([&] { return now; });
    store.store({"past=1; Path=/; Expires=Wed, 09 Jun 2021 10:18:13 GMT",
                 "future=2; Path=/; Expires=Wed, 09 Jun 2021 10:18:16 GMT",
                 "garbled=3; Path=/; Expires=some day", "session=4; Path=/",
                 "aged=5; Path=/; Max-Age=10", "gone=6; Path=/; Max-Age=0",
                 "both=7; Path=/; Expires=Wed, 09 Jun 2021 10:18:16 GMT; Max-Age=1000"},
                "h");
    EXPECT_EQ(store.cookieList("h", "/"), "future=2; session=4; aged=5; both=7");
    now += 9;
    EXPECT_EQ(store.cookieList("h", "/"), "session=4; aged=5");
    now += 1;
    EXPECT_EQ(store.cookieList("h", "/"), "session=4");
    EXPECT_EQ(store.cookies().size(), 1u);
}

TEST(CookieStore, UpdateTakesTheNewExpiry) {
    std::int64_t now = 1000;
    CookieStore store([&] { return now; });
    store.store({"a=1; Path=/; Max-Age=100"}, "h");
    store.store({"a=2; Path=/"}, "h");
    now += 1000;
    EXPECT_EQ(store.cookieList("h", "/"), "a=2");
    store.store({"a=3; Max-Age=0"}, "h");
    EXPECT_EQ(store.cookieList("h", "/"), "");
}

TEST(CookieStore, StopsGrowingAtItsLimit) {
    CookieStore store([] { return 0; });
    std::vector<std::string> many;
    for (std::size_t i = 0; i < CookieStore::kMaxCookies + 10; ++i)
        many.push_back("c" + std::to_string(i) + "=v; Domain=d" + std::to_string(i % 7));
    store.store(many, "h");
    EXPECT_EQ(store.cookies().size(), CookieStore::kMaxCookies);
}

struct DateCase {
    const char* text;
    std::optional<std::int64_t> seconds;
};

class InternetDates : public testing::TestWithParam<DateCase> {};

TEST_P(InternetDates, ReadTheUsualForms) {
    EXPECT_EQ(parseInternetDate(GetParam().text), GetParam().seconds) << GetParam().text;
}

constexpr std::int64_t kRfcExample = 784111777;  // Sun, 06 Nov 1994 08:49:37 GMT

INSTANTIATE_TEST_SUITE_P(Cases, InternetDates,
                         testing::Values(DateCase{"Sun, 06 Nov 1994 08:49:37 GMT", kRfcExample},
                                         DateCase{"Sunday, 06-Nov-94 08:49:37 GMT", kRfcExample},
                                         DateCase{"Sun Nov  6 08:49:37 1994", kRfcExample},
                                         DateCase{"06 Nov 1994 08:49:37", kRfcExample},
                                         DateCase{"Nov 06 1994 08:49:37 UTC", kRfcExample},
                                         DateCase{"Sun, 06 Nov 1994 10:49:37 +0200", kRfcExample},
                                         DateCase{"Sun, 06 Nov 1994 03:19:37 -0530", kRfcExample},
                                         DateCase{"Wed, 09 Jun 2021 10:18:14 EST", 1623233894},
                                         DateCase{"Thu, 01 Jan 1970 00:00:00 GMT", 0},
                                         DateCase{"Thu, 01-Jan-70 00:00:00 GMT", 3155760000},
                                         DateCase{"01-jan-79 00:00:00 GMT", 3439756800},
                                         DateCase{"01-Jan-80 00:00:00 GMT", 315532800},
                                         DateCase{"", std::nullopt},
                                         DateCase{"tomorrow", std::nullopt},
                                         DateCase{"Sun, 06 Nov 1994", std::nullopt},
                                         DateCase{"31 Feb 2020 00:00:00 GMT", std::nullopt},
                                         DateCase{"06 Foo 1994 08:49:37 GMT", std::nullopt},
                                         DateCase{"06 Nov 1994 25:00:00 GMT", std::nullopt},
                                         DateCase{"06 Nov 1994 08:49:37 +12ab", std::nullopt},
                                         DateCase{"06 Nov Nov 1994 08:49:37", std::nullopt}),
                         [](const auto& info) {
                             return test::caseName(info.index, info.param.text);
                         });

TEST(InternetDate, FormatsWhatItReads) {
    EXPECT_EQ(formatInternetDate(kRfcExample), "Sun, 06 Nov 1994 08:49:37 GMT");
    EXPECT_EQ(formatInternetDate(0), "Thu, 01 Jan 1970 00:00:00 GMT");
    for (const std::int64_t t : {951782400LL, 4102444799LL, 1623233894LL})
        EXPECT_EQ(parseInternetDate(formatInternetDate(t)), t);
}

}  // namespace
}  // namespace vantorel
