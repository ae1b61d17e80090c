#include <gtest/gtest.h>

#include "browser/BrowserEntry.h"
#include "platform/Failure.h"
#include "support/TempDir.h"

namespace vantorel {
namespace {

using test::readFile;

TEST(BrowserEntryPosix, TheRegistryFileHoldsTheMenuKeyInExportForm) {
    test::ScopedConfigHome home;
    test::TempDir install;
    BrowserEntry::registerMenuEntry(install.path());
    const std::string registry = readFile(home.registryFile());
    BrowserEntry::registerMenuEntry(install.path());
    EXPECT_EQ(readFile(home.registryFile()), registry);
    EXPECT_EQ(registry,
              "Windows Registry Editor Version 5.00\r\n\r\n"
              "[HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\MenuExt\\Vantorel "
              "Patent Downloader]\r\n"
              "@=\"" +
                  install.path() +
                  "/tessariant.html\"\r\n"
                  "\"Contexts\"=dword:00000010\r\n");
}

TEST(BrowserEntryPosix, AMenuKeyThatCannotBeOpenedFailsTheDefaultValue) {
    test::ScopedConfigHome home;
    test::TempDir install;
    std::filesystem::create_directories(home.registryFile());  // the registry file cannot be made
    try {
        BrowserEntry::registerMenuEntry(install.path());
        FAIL();
    } catch (const Failure& failure) {
        EXPECT_EQ(failure.message(), "Failed to set data for ''");
    }
}

}  // namespace
}  // namespace vantorel
