#include <gtest/gtest.h>

#include <filesystem>

#include "platform/Paths.h"
#include "platform/PrivateProfile.h"
#include "support/CaseName.h"
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
              "NoEquals\r\n"
              "Tabs=\tt\t\r\n");
    const std::pair<const char*, const char*> cases[] = {
        {"login", "alice"},   {"Pswd", "  quoted  "}, {"Single", "x"},    {"Half", "\"open"},
        {"Inner", "a\"b\"c"}, {"Empty", ""},          {"Twice", "\"x\""}, {"Eq", "a=b"},
        {"NoEquals", "dflt"}, {"Missing", "dflt"},    {"Tabs", "t"},
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
    EXPECT_EQ(PrivateProfile::readString("Main", "None", std::string(2048, 'd'), file).size(),
              2047u);
}

TEST(PrivateProfile, WritesKeepForeignSectionsAndKeys) {
    TempDir dir;
    const std::string file = dir.file("t.ini");
    writeFile(file,
              "; a comment\n[Service]\nHost=example:1\n\n[Main]\nLogin=old\nExtra=keep\n"
              "Pswd=\"x\"\n\n[Tail]\nA=1\n");
    ASSERT_TRUE(PrivateProfile::writeString("main", "login", "new", file));
    ASSERT_TRUE(PrivateProfile::writeString("Main", "Path", "C:\\p\\", file));
    ASSERT_TRUE(PrivateProfile::writeString("Main", "Pswd", "", file));
    ASSERT_TRUE(PrivateProfile::writeString("New", "K", "v", file));
    const std::tuple<const char*, const char*, const char*> expected[] = {
        {"Service", "Host", "example:1"},
        {"Main", "Login", "new"},
        {"Main", "Extra", "keep"},
        {"Main", "Pswd", ""},
        {"Main", "Path", "C:\\p\\"},
        {"Tail", "A", "1"},
        {"New", "K", "v"},
    };
    for (const auto& [section, key, value] : expected)
        EXPECT_EQ(PrivateProfile::readString(section, key, "absent", file), value) << key;
    // Values go out as plain text, without quotes.
    EXPECT_NE(readFile(file).find("Path=C:\\p\\"), std::string::npos);
}

TEST(PrivateProfile, CreatesAMissingFile) {
    TempDir dir;
    const std::string file = dir.file("new.ini");
    ASSERT_TRUE(PrivateProfile::writeString("Main", "Pswd", "secret", file));
    EXPECT_EQ(PrivateProfile::readString("Main", "Pswd", "", file), "secret");
    EXPECT_EQ(readFile(file).substr(0, 6), "[Main]");
}

TEST(PrivateProfile, ReportsWritesThatCannotBeDone) {
    TempDir dir;
    const std::string missing = dir.file("missing") + kPathSeparator + "t.ini";
    EXPECT_FALSE(PrivateProfile::writeString("Main", "K", "v", missing));
    EXPECT_FALSE(std::filesystem::exists(missing));

    const std::string locked = dir.file("locked.ini");
    writeFile(locked, "[Main]\nK=old\n");
    {
        test::Unwritable guard(locked);
        EXPECT_FALSE(PrivateProfile::writeString("Main", "K", "v", locked));
    }
    EXPECT_EQ(readFile(locked), "[Main]\nK=old\n");
}

// A pasted or picked line break must not add a line, section or key.
struct LineBreakCase {
    const char* name;
    const char* section;
    const char* key;
    const char* value;
};

class PrivateProfileLineBreaks : public testing::TestWithParam<LineBreakCase> {};

TEST_P(PrivateProfileLineBreaks, AreRefusedAndTheFileKeepsItsLines) {
    const LineBreakCase& c = GetParam();
    TempDir dir;
    const std::string file = dir.file("t.ini");
    const std::string before = "[Main]\r\nLogin=ann\r\n[Service]\r\nHost=localhost:8741\r\n";
    writeFile(file, before);
    EXPECT_FALSE(PrivateProfile::writeString(c.section, c.key, c.value, file));
    EXPECT_EQ(readFile(file), before);
    EXPECT_FALSE(PrivateProfile::writeString(c.section, c.key, c.value, dir.file("new.ini")));
    EXPECT_FALSE(std::filesystem::exists(dir.file("new.ini")));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PrivateProfileLineBreaks,
    testing::Values(LineBreakCase{"LineFeedInValue", "Main", "Login",
                                  "ann\n[Service]\nHost=evil.example:80"},
                    LineBreakCase{"CarriageReturnInValue", "Main", "Pswd", "x\r[Service]"},
                    LineBreakCase{"LineEndAfterValue", "Main", "Path", "/p/\r\n"},
                    LineBreakCase{"LineFeedInKey", "Main", "Lo\ngin", "x"},
                    LineBreakCase{"LineFeedInSection", "Ma\nin", "Login", "x"}),
    [](const auto& info) { return test::caseName(info.index, info.param.name); });

}  // namespace
}  // namespace vantorel
