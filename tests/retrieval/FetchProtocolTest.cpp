#include <gtest/gtest.h>

#include "retrieval/FetchProtocol.h"

namespace vantorel {
namespace {

using namespace FetchProtocol;

TEST(FetchProtocol, NormaliseRemovesBlanksCommasPointsAndColons) {
    const std::pair<const char*, const char*> cases[] = {
        {"US 6,892,391", "US6892391"},
        {"us6892391; EP1534056", "us6892391;EP1534056"},
        {" \t ,.: ,", ""},
        {"", ""},
        {"JP2005-117900", "JP2005-117900"},
        {"WO 2005/043967", "WO2005/043967"},
        {"\r\n US:6.892 \x01", "US6892"},
        {"a\tb", "a\tb"},  // only the ends lose control bytes
    };
    for (const auto& [raw, expected] : cases) EXPECT_EQ(normaliseRequest(raw), expected) << raw;
}

TEST(FetchProtocol, ComposeInsertsValuesUnescaped) {
    EXPECT_EQ(composeFetchAddress("localhost:8741", "US1;EP2", "me", "p&w#x"),
              "http://localhost:8741/patent_pdf/fetcher.php?patent=US1;EP2&name=me&pswd=p&w#x");
    EXPECT_EQ(composeFetchAddress("h", "R", "", ""),
              "http://h/patent_pdf/fetcher.php?patent=R&name=&pswd=");
}

TEST(FetchProtocol, AnHttpsHostMakesAnHttpsAddressWhoseFilesStayOnHttps) {
    EXPECT_EQ(composeFetchAddress("https://h:8443", "R", "a", "b"),
              "https://h:8443/patent_pdf/fetcher.php?patent=R&name=a&pswd=b");
    EXPECT_EQ(composeFetchAddress("HTTPS://h/", "R", "", ""),
              "https://h/patent_pdf/fetcher.php?patent=R&name=&pswd=");
    const std::string https = "https://h/patent_pdf/fetcher.php?patent=R";
    const std::pair<std::string, bool> cases[] = {
        {"https://h/files/A_full.pdf", false},
        {"HTTPS:\\\\h\\A.pdf", false},
        {"files/A.pdf", false},
        {"/files/A.pdf", false},
        {"http://h/files/A_full.pdf", true},
        {"HTTP://h/A.pdf", true},
        {"ftp://h/A.pdf", true},
        {" https://h/A.pdf", true},
    };
    for (const auto& [file, leaves] : cases) {
        EXPECT_EQ(leavesHttps(https, file), leaves) << file;
        EXPECT_FALSE(leavesHttps("http://h/patent_pdf/fetcher.php?patent=R", file)) << file;
    }
}

TEST(FetchProtocol, SplitKeepsEntriesBeforeEachMarkerOnly) {
    using V = std::vector<std::string>;
    const std::pair<const char*, V> cases[] = {
        {"A<br>B", V{"A"}},
        {"<br>", V{""}},
        {"A<br><br>", V{"A", ""}},
        {"no marker at all", V{}},
        {"", V{}},
        {" a \r\n<br>b<BR>c<br>", V{" a \r\n", "b<BR>c"}},
        {"<br<br>>", V{"<br"}},
    };
    for (const auto& [body, expected] : cases)
        EXPECT_EQ(splitIndexResponse(body), expected) << body;
}

TEST(FetchProtocol, ClassifyByPrecedence) {
    const std::pair<const char*, EntryKind> cases[] = {
        {"Error: Incorrect login or password", EntryKind::CredentialsRejected},
        {"xx Incorrect login or password", EntryKind::CredentialsRejected},
        {"Error: US1 not found", EntryKind::ServiceError},
        {"error: lower case is an address", EntryKind::FileAddress},
        {"", EntryKind::Empty},
        {" \r\n\t\x01", EntryKind::Empty},
        {"http://h/files/US1_full.pdf", EntryKind::FileAddress},
        {"\xA0", EntryKind::FileAddress},
    };
    for (const auto& [entry, kind] : cases) EXPECT_EQ(classifyEntry(entry), kind) << entry;
}

TEST(FetchProtocol, LocalFileNameCutsAtTheLastSlashThenDropsTheFirstFull) {
    const std::pair<const char*, const char*> cases[] = {
        {"http://h/files/US6892391_full.pdf", "US6892391.pdf"},
        {"http://h/a_full/b.pdf", "b.pdf"},
        {"X_full_full.pdf", "X_full.pdf"},
        {"plain.pdf", "plain.pdf"},
        {"http://h/dir/", ""},
        {"http://h/x.pdf?a=1", "x.pdf?a=1"},
        {"http://h/a\\..\\b.pdf", "a\\..\\b.pdf"},
    };
    for (const auto& [address, name] : cases) EXPECT_EQ(localFileName(address), name) << address;
}

TEST(FetchProtocol, NamesThatCouldLeaveTheFolderAreRefused) {
    // A leading point would hide the file from the list (".pdf" is what "_full.pdf" becomes).
    for (const char* bad : {"", ".", "..", "a\\b.pdf", "..\\x.pdf", "C:x.pdf", "a\nb.pdf", "a/b",
                            ".pdf", "...pdf", ".vantorel-0123abcd.tmp"})
        EXPECT_FALSE(isSafeLocalFileName(bad)) << bad;
    for (const char* good : {"US6892391.pdf", "a.b.pdf", "x.pdf?a=1", "a b.pdf", "a..pdf"})
        EXPECT_TRUE(isSafeLocalFileName(good)) << good;
}

TEST(FetchProtocol, OnlyPdfNamesAreViewable) {
    for (const char* pdf : {"a.pdf", "A.PDF", "b.Pdf", "x.y.pdf"})
        EXPECT_TRUE(isViewableName(pdf)) << pdf;
    for (const char* other : {"run.desktop", "a.exe", "pdf", "a.pdf.exe", "a.pdf ", "a_pdf", ""})
        EXPECT_FALSE(isViewableName(other)) << other;
}

}  // namespace
}  // namespace vantorel
