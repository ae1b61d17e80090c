#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/Failure.h"
#include "platform/RegistryKey.h"
#include "support/TempDir.h"

namespace vantorel {
namespace {

using test::readFile;
using test::ScopedConfigHome;
using test::writeFile;

const char* kKey = "\\Software\\Vantorel Patent Downloader";

TEST(RegistryKeyPosix, CreatesTheFileInExportFormReadableByItsOwnerOnly) {
    ScopedConfigHome home;
    RegistryKey key;
    ASSERT_TRUE(key.openOrCreate(kKey));
    EXPECT_EQ(readFile(home.registryFile()),
              "Windows Registry Editor Version 5.00\r\n\r\n"
              "[HKEY_CURRENT_USER\\Software\\Vantorel Patent Downloader]\r\n");
    struct stat st {};
    ASSERT_EQ(stat(home.registryFile().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST(RegistryKeyPosix, ReadsWhatWindowsWritesAndKeepsForeignKeys) {
    ScopedConfigHome home;
    mkdir((home.registryFile().substr(0, home.registryFile().rfind('/'))).c_str(), 0700);
    writeFile(home.registryFile(),
              "Windows Registry Editor Version 5.00\r\n\r\n"
              "[HKEY_CURRENT_USER\\Software\\Other]\r\n"
              "\"Bin\"=hex:01,02,\\\r\n  03\r\n"
              "@=\"other default\"\r\n\r\n"
              "[HKEY_CURRENT_USER\\SOFTWARE\\vantorel patent downloader]\n"
              "\"installpath\"=\"C:\\\\Program Files\\\\X \\\"q\\\"\"\n"
              "\"Number\"=dword:00000010\n");
    RegistryKey key;
    ASSERT_TRUE(key.openOrCreate(kKey));
    EXPECT_EQ(key.readString("InstallPath"), "C:\\Program Files\\X \"q\"");
    try {
        key.readString("Number");
        FAIL() << "a dword read as text";
    } catch (const Failure& failure) {
        EXPECT_EQ(failure.message(), "Invalid data type for 'Number'");
    }

    key.writeString("", "default text");
    key.writeInteger("Contexts", 16);
    key.writeString("InstallPath", "/opt/v");
    EXPECT_EQ(readFile(home.registryFile()),
              "Windows Registry Editor Version 5.00\r\n\r\n"
              "[HKEY_CURRENT_USER\\Software\\Other]\r\n"
              "\"Bin\"=hex:01,02,\\\r\n  03\r\n"
              "@=\"other default\"\r\n\r\n"
              "[HKEY_CURRENT_USER\\SOFTWARE\\vantorel patent downloader]\r\n"
              "\"installpath\"=\"/opt/v\"\r\n"
              "\"Number\"=dword:00000010\r\n"
              "@=\"default text\"\r\n"
              "\"Contexts\"=dword:00000010\r\n");
    RegistryKey again;
    ASSERT_TRUE(again.openOrCreate(kKey));
    EXPECT_EQ(again.readString(""), "default text");
}

TEST(RegistryKeyPosix, AFileThatCannotBeReplacedFailsWritesAndOpens) {
    ScopedConfigHome home;
    RegistryKey key;
    ASSERT_TRUE(key.openOrCreate(kKey));
    // A registry file that cannot be replaced (here a folder stands in its place).
    std::filesystem::remove(home.registryFile());
    mkdir(home.registryFile().c_str(), 0700);
    try {
        key.writeInteger("Contexts", 16);
        FAIL();
    } catch (const Failure& failure) {
        EXPECT_EQ(failure.message(), "Failed to set data for 'Contexts'");
    }
    RegistryKey refused;
    EXPECT_FALSE(refused.openOrCreate("\\Software\\Elsewhere"));
}

}  // namespace
}  // namespace vantorel
