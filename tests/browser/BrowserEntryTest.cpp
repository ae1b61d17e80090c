#include <gtest/gtest.h>

#include "browser/BrowserEntry.h"
#include "platform/Failure.h"
#include "platform/RegistryKey.h"
#include "support/TempDir.h"

namespace vantorel {
namespace {

using test::readFile;

const std::string kHead = R"(<SCRIPT>var shell = new ActiveXObject("WScript.Shell");shell.run('"' + ")";
const std::string kTail =
    R"(\\Vantorel Patent Downloader.exe" + '"' + " " + '"' + external.menuArguments.document.selection.createRange().text );</SCRIPT>)";

TEST(BrowserEntry, ScriptIsThreePiecesWithBackslashesDoubled) {
    ASSERT_EQ(kHead.size(), 72u);
    ASSERT_EQ(kTail.size(), 126u);
    EXPECT_EQ(BrowserEntry::menuScript("C:\\Program Files\\X"),
              kHead + "C:\\\\Program Files\\\\X" + kTail);
    EXPECT_EQ(BrowserEntry::menuScript("/home/u/vantorel"), kHead + "/home/u/vantorel" + kTail);
    EXPECT_EQ(BrowserEntry::menuScript(""), kHead + kTail);
}

TEST(BrowserEntry, RegisteringTwiceWritesTheSameFileAndValues) {
    test::ScopedConfigHome home;
    test::TempDir install;
    BrowserEntry::registerMenuEntry(install.path());
    const std::string registry = readFile(home.registryFile());
    BrowserEntry::registerMenuEntry(install.path());
    EXPECT_EQ(readFile(home.registryFile()), registry);

    const std::string script = readFile(install.file("tessariant.html"));
    EXPECT_EQ(script, kHead + install.path() + kTail);  // one line, no line break at the end
    EXPECT_EQ(registry,
              "Windows Registry Editor Version 5.00\r\n\r\n"
              "[HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\MenuExt\\Vantorel "
              "Patent Downloader]\r\n"
              "@=\"" + install.path() + "/tessariant.html\"\r\n"
              "\"Contexts\"=dword:00000010\r\n");
    RegistryKey key;
    ASSERT_TRUE(key.openOrCreate(BrowserEntry::kMenuExtKey));
    EXPECT_EQ(key.readString(""), install.path() + "/tessariant.html");
}

TEST(BrowserEntry, AScriptThatCannotBeWrittenFailsWithItsPath) {
    test::ScopedConfigHome home;
    test::TempDir install;
    const std::string missing = install.file("missing");
    try {
        BrowserEntry::registerMenuEntry(missing);
        FAIL();
    } catch (const Failure& failure) {
        EXPECT_EQ(failure.message(), "Cannot create file " + missing + "/tessariant.html");
    }
}

TEST(BrowserEntry, AMenuKeyThatCannotBeOpenedFailsTheDefaultValue) {
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
