#include <gtest/gtest.h>
#include <windows.h>

#include "platform/PrivateProfile.h"
#include "support/TempDir.h"

namespace vantorel {
namespace {

using test::readFile;
using test::TempDir;
using test::writeFile;

std::string profileValue(const char* section, const char* key, const std::string& file) {
    char buffer[4096];
    const DWORD length =
        GetPrivateProfileStringA(section, key, "<absent>", buffer, sizeof buffer, file.c_str());
    return std::string(buffer, length);
}

std::vector<std::string> sectionNames(const std::string& file) {
    char buffer[4096];
    const DWORD length = GetPrivateProfileSectionNamesA(buffer, sizeof buffer, file.c_str());
    std::vector<std::string> names;
    for (DWORD i = 0; i < length; i += static_cast<DWORD>(names.back().size()) + 1)
        names.emplace_back(buffer + i);
    return names;
}

// What the program writes, the platform's own profile reader reads back.
TEST(PrivateProfileWin32, TheSystemReadsWhatTheProgramWrites) {
    TempDir dir;
    const std::string file = dir.file("tessariant.ini");
    writeFile(file, "[Service]\r\nHost=h:1\r\n[Main]\r\nLogin=old\r\n[Tail]\r\nA=1\r\n");
    const std::pair<const char*, const char*> values[] = {
        {"Login", "alice"},          {"Pswd", ""},        {"Path", "C:\\Users\\a\\patents\\"},
        {"Timeout", "not a number"}, {"PDFAction", "-1"},
    };
    for (const auto& [key, value] : values)
        ASSERT_TRUE(PrivateProfile::writeString("Main", key, value, file)) << key;
    for (const auto& [key, value] : values)
        EXPECT_EQ(profileValue("Main", key, file), value) << key;
    EXPECT_EQ(profileValue("Service", "Host", file), "h:1");
    EXPECT_EQ(sectionNames(file), (std::vector<std::string>{"Service", "Main", "Tail"}));
    EXPECT_NE(readFile(file).find("Path=C:\\Users\\a\\patents\\\r\n"), std::string::npos);
}

TEST(PrivateProfileWin32, TheProgramReadsWhatTheSystemWrites) {
    TempDir dir;
    const std::string file = dir.file("t.ini");
    ASSERT_TRUE(WritePrivateProfileStringA("Main", "Login", "bob", file.c_str()));
    ASSERT_TRUE(WritePrivateProfileStringA("Main", "Pswd", "\"p w\"", file.c_str()));
    EXPECT_EQ(PrivateProfile::readString("main", "LOGIN", "", file), "bob");
    EXPECT_EQ(PrivateProfile::readString("Main", "Pswd", "", file), "p w");
}

}  // namespace
}  // namespace vantorel
