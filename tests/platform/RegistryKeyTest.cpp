#include <gtest/gtest.h>

#include <functional>

#include "platform/Failure.h"
#include "platform/RegistryKey.h"
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

}  // namespace
}  // namespace vantorel
