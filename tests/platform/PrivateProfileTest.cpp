#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/PrivateProfile.h"
#include "support/TempDir.h"

namespace vantorel {
namespace {

using test::readFile;
using test::TempDir;
using test::writeFile;

TEST(PrivateProfile, ReadsByTheWindowsRules) {
    TempDir dir;
    const std::string file = dir.file("t.ini");
    writeFile(file,
              "[Other]\r\nLogin=wrong\r\n"
              "[ main ]\r\n"
              "LOGIN =  alice  \r\n"
              "Pswd=\"  quoted  \"\r\n"
              "Single='x'\r\n"
              "Half=\"open\r\n"
              "Inner=a\"b\"c\r\n"
              "Empty=\r\n"
              "Twice=\"\"x\"\"\r\n"
              "Eq=a=b\r\n"
              "NoEquals\r\n");
    const std::pair<const char*, const char*> cases[] = {
        {"login", "alice"},   {"Pswd", "  quoted  "}, {"Single", "x"},    {"Half", "\"open"},
        {"Inner", "a\"b\"c"}, {"Empty", ""},          {"Twice", "\"x\""}, {"Eq", "a=b"},
        {"NoEquals", "dflt"}, {"Missing", "dflt"},
    };
    for (const auto& [key, expected] : cases)
        EXPECT_EQ(PrivateProfile::readString("MAIN", key, "dflt", file), expected) << key;
    EXPECT_EQ(PrivateProfile::readString("Absent", "Login", "d", file), "d");
    EXPECT_EQ(PrivateProfile::readString("Main", "Login", "d", dir.file("none.ini")), "d");
}

TEST(PrivateProfile, CutsLongValuesTo2047Bytes) {
    TempDir dir;
    const std::string file = dir.file("t.ini");
    writeFile(file, "[Main]\nPath=" + std::string(3000, 'p') + "\n");
    EXPECT_EQ(PrivateProfile::readString("Main", "Path", "", file), std::string(2047, 'p'));
    EXPECT_EQ(PrivateProfile::readString("Main", "None", std::string(2048, 'd'), file).size(), 2047u);
}

TEST(PrivateProfile, WritesKeepForeignSectionsKeysAndOrder) {
    TempDir dir;
    const std::string file = dir.file("t.ini");
    writeFile(file,
              "; a comment\n[Service]\nHost=example:1\n\n[Main]\nLogin=old\nExtra=keep\n"
              "Pswd=\"x\"\n\n[Tail]\nA=1\n");
    ASSERT_TRUE(PrivateProfile::writeString("main", "login", "new", file));
    ASSERT_TRUE(PrivateProfile::writeString("Main", "Path", "/p/", file));
    ASSERT_TRUE(PrivateProfile::writeString("Main", "Pswd", "", file));
    ASSERT_TRUE(PrivateProfile::writeString("New", "K", "v", file));
    EXPECT_EQ(readFile(file),
              "; a comment\n[Service]\nHost=example:1\n\n[Main]\nlogin=new\nExtra=keep\n"
              "Pswd=\nPath=/p/\n\n[Tail]\nA=1\n[New]\nK=v\n");
    EXPECT_EQ(PrivateProfile::readString("Main", "Pswd", "d", file), "");
    EXPECT_EQ(PrivateProfile::readString("Service", "Host", "d", file), "example:1");
}

TEST(PrivateProfile, KeepsWindowsLineEnds) {
    TempDir dir;
    const std::string file = dir.file("t.ini");
    writeFile(file, "[Main]\r\nLogin=a\r\n");
    ASSERT_TRUE(PrivateProfile::writeString("Main", "Timeout", "120", file));
    EXPECT_EQ(readFile(file), "[Main]\r\nLogin=a\r\nTimeout=120\r\n");
}

TEST(PrivateProfile, CreatesAMissingFileReadableByItsOwnerOnly) {
    TempDir dir;
    const std::string file = dir.file("new.ini");
    ASSERT_TRUE(PrivateProfile::writeString("Main", "Pswd", "secret", file));
    EXPECT_EQ(readFile(file), "[Main]\nPswd=secret\n");
    struct stat st {};
    ASSERT_EQ(stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST(PrivateProfile, ReportsWritesThatCannotBeDone) {
    TempDir dir;
    EXPECT_FALSE(PrivateProfile::writeString("Main", "K", "v", dir.file("missing/t.ini")));

    const std::string readOnly = dir.file("ro.ini");
    writeFile(readOnly, "[Main]\nK=old\n");
    chmod(readOnly.c_str(), 0400);
    {
        EXPECT_FALSE(PrivateProfile::writeString("Main", "K", "v", readOnly));
        EXPECT_EQ(readFile(readOnly), "[Main]\nK=old\n");
    }
}

}  // namespace
}  // namespace vantorel
