#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/PrivateProfile.h"
#include "support/TempDir.h"

namespace vantorel {
namespace {

using test::readFile;
using test::TempDir;
using test::writeFile;

// The POSIX backend writes the file itself: lines stay where they stand.
TEST(PrivateProfilePosix, WritesKeepEveryOtherLineInPlace) {
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
}

TEST(PrivateProfilePosix, KeepsWindowsLineEnds) {
    TempDir dir;
    const std::string file = dir.file("t.ini");
    writeFile(file, "[Main]\r\nLogin=a\r\n");
    ASSERT_TRUE(PrivateProfile::writeString("Main", "Timeout", "120", file));
    EXPECT_EQ(readFile(file), "[Main]\r\nLogin=a\r\nTimeout=120\r\n");
}

TEST(PrivateProfilePosix, CreatesAMissingFileReadableByItsOwnerOnly) {
    TempDir dir;
    const std::string file = dir.file("new.ini");
    ASSERT_TRUE(PrivateProfile::writeString("Main", "Pswd", "secret", file));
    EXPECT_EQ(readFile(file), "[Main]\nPswd=secret\n");
    struct stat st {};
    ASSERT_EQ(stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}

}  // namespace
}  // namespace vantorel
