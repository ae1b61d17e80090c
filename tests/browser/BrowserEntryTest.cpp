#include <gtest/gtest.h>

#include "browser/BrowserEntry.h"
#include "platform/Failure.h"
#include "platform/RegistryKey.h"
#include "platform/Paths.h"
#include "support/ScopedRegistry.h"
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
    test::ScopedRegistry registry({BrowserEntry::kMenuExtKey});
    test::TempDir install;
    const std::string script = install.file("tessariant.html");
    EXPECT_EQ(BrowserEntry::scriptPath(install.path()), script);
    for (int run = 0; run < 2; ++run) {
        BrowserEntry::registerMenuEntry(install.path());
        // One line, no line break at the end.
        EXPECT_EQ(readFile(script), BrowserEntry::menuScript(install.path()));
        RegistryKey key;
        ASSERT_TRUE(key.openOrCreate(BrowserEntry::kMenuExtKey));
        EXPECT_EQ(key.readString(""), script);
        EXPECT_THROW(key.readString("Contexts"), Failure);  // a number, not text
    }
}

TEST(BrowserEntry, AScriptThatCannotBeWrittenFailsWithItsPath) {
    test::ScopedRegistry registry({BrowserEntry::kMenuExtKey});
    test::TempDir install;
    const std::string missing = install.file("missing");
    try {
        BrowserEntry::registerMenuEntry(missing);
        FAIL();
    } catch (const Failure& failure) {
        EXPECT_EQ(failure.message(),
                  "Cannot create file " + missing + kPathSeparator + "tessariant.html");
    }
}

}  // namespace
}  // namespace vantorel
