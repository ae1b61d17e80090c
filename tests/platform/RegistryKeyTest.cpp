#include <gtest/gtest.h>

#include <functional>

#include "platform/Failure.h"
#include "platform/RegistryKey.h"
#include "support/CaseName.h"
#include "support/ScopedRegistry.h"

namespace vantorel {
namespace {

const char* kTestRoot = "\\Software\\Vantorel Tests";
const char* kKey = "\\Software\\Vantorel Tests\\RegistryKey";

std::string failureOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const Failure& failure) {
        return failure.message();
    }
    return "<no failure>";
}

TEST(RegistryKey, CreatesAMissingKeyAndReadsMissingValuesAsEmpty) {
    test::ScopedRegistry registry({kTestRoot});
    RegistryKey key;
    EXPECT_FALSE(key.isOpen());
    ASSERT_TRUE(key.openOrCreate(kKey));
    EXPECT_TRUE(key.isOpen());
    EXPECT_EQ(key.readString("InstallPath"), "");
    EXPECT_EQ(key.readString(""), "");
    RegistryKey again;
    ASSERT_TRUE(again.openOrCreate(kKey));  // now it exists
}

TEST(RegistryKey, TextValuesComeBackAndOtherTypesAreRefusedAsText) {
    test::ScopedRegistry registry({kTestRoot});
    {
        RegistryKey key;
        ASSERT_TRUE(key.openOrCreate(kKey));
        key.writeString("InstallPath", "C:\\Program Files\\X \"q\"");
        key.writeString("", "default text");
        key.writeInteger("Contexts", 16);
        key.writeString("Empty", "");
    }
    RegistryKey key;
    ASSERT_TRUE(key.openOrCreate(kKey));
    EXPECT_EQ(key.readString("InstallPath"), "C:\\Program Files\\X \"q\"");
    EXPECT_EQ(key.readString("installpath"), "C:\\Program Files\\X \"q\"");  // names ignore case
    EXPECT_EQ(key.readString(""), "default text");
    EXPECT_EQ(key.readString("Empty"), "");
    EXPECT_EQ(failureOf([&] { key.readString("Contexts"); }), "Invalid data type for 'Contexts'");

    key.writeString("InstallPath", "D:\\V");  // a rewrite replaces, nothing accumulates
    EXPECT_EQ(key.readString("InstallPath"), "D:\\V");
    key.writeInteger("Contexts", 0x10);
    EXPECT_EQ(failureOf([&] { key.readString("Contexts"); }), "Invalid data type for 'Contexts'");
}

TEST(RegistryKey, WritesToAKeyThatIsNotOpenFailWithTheValueName) {
    RegistryKey closed;
    EXPECT_EQ(failureOf([&] { closed.writeString("", "x"); }), "Failed to set data for ''");
    EXPECT_EQ(failureOf([&] { closed.writeInteger("Contexts", 16); }),
              "Failed to set data for 'Contexts'");
    EXPECT_EQ(closed.readString("InstallPath"), "");

    test::ScopedRegistry registry({kTestRoot});
    RegistryKey key;
    ASSERT_TRUE(key.openOrCreate(kKey));
    key.close();
    EXPECT_FALSE(key.isOpen());
    EXPECT_EQ(failureOf([&] { key.writeString("Name", "x"); }), "Failed to set data for 'Name'");
}

struct RegistryLineBreak {
    const char* label;
    const char* name;
    const char* value;
};

class RegistryKeyLineBreaks : public testing::TestWithParam<RegistryLineBreak> {};

TEST_P(RegistryKeyLineBreaks, AreRefusedAndTheOldValueStays) {
    const RegistryLineBreak& c = GetParam();
    test::ScopedRegistry registry({kTestRoot});
    RegistryKey key;
    ASSERT_TRUE(key.openOrCreate(kKey));
    key.writeString("InstallPath", "/opt/v");
    EXPECT_EQ(failureOf([&] { key.writeString(c.name, c.value); }),
              "Failed to set data for '" + std::string(c.name) + "'");
    EXPECT_EQ(key.readString("InstallPath"), "/opt/v");
    EXPECT_EQ(key.readString("Evil"), "");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RegistryKeyLineBreaks,
    testing::Values(
        RegistryLineBreak{
            "LineFeedInValue", "InstallPath",
            "/x\n[HKEY_CURRENT_USER\\Software\\Vantorel Tests\\RegistryKey]\n\"Evil\"=\"1\""},
        RegistryLineBreak{"CarriageReturnInValue", "InstallPath", "/x\r\"Evil\"=\"1\""},
        RegistryLineBreak{"LineFeedInName", "Install\n\"Evil\"", "1"}),
    [](const auto& info) { return test::caseName(info.index, info.param.label); });

}  // namespace
}  // namespace vantorel
