#include <gtest/gtest.h>

#include <cstdio>

#include "browser/BrowserEntry.h"
#include "support/ScopedRegistry.h"
#include "support/TempDir.h"

namespace vantorel {
namespace {

// What the system's own registry tool shows for a key.
std::string regQuery(const std::string& key) {
    std::string output;
    FILE* pipe = _popen(("reg query \"" + key + "\" 2>&1").c_str(), "rb");
    if (!pipe) return "<reg did not start>";
    char buffer[512];
    while (const std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe))
        output.append(buffer, n);
    _pclose(pipe);
    return output;
}

TEST(BrowserEntryWin32, WritesTheScriptAndTheMenuKeyAsTheBrowserReadsThem) {
    test::ScopedRegistry registry({BrowserEntry::kMenuExtKey});
    test::TempDir root;
    const std::string install = root.file("Vantorel X");
    std::filesystem::create_directory(install);
    ASSERT_EQ(install.substr(1, 2), ":\\");
    BrowserEntry::registerMenuEntry(install);
    BrowserEntry::registerMenuEntry(install);  // a second start rewrites the same

    std::string doubled;
    for (const char c : install) doubled += c == '\\' ? std::string("\\\\") : std::string(1, c);
    EXPECT_EQ(test::readFile(install + "\\tessariant.html"),
              "<SCRIPT>var shell = new ActiveXObject(\"WScript.Shell\");shell.run('\"' + \"" +
                  doubled +
                  "\\\\Vantorel Patent Downloader.exe\" + '\"' + \" \" + '\"' + "
                  "external.menuArguments.document.selection.createRange().text );</SCRIPT>");

    const std::string key =
        "HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\MenuExt\\Vantorel Patent "
        "Downloader";
    const std::string shown = regQuery(
        "HKCU\\Software\\Microsoft\\Internet Explorer\\MenuExt\\"
        "Vantorel Patent Downloader");
    EXPECT_NE(shown.find(key + "\r\n"), std::string::npos) << shown;
    EXPECT_NE(shown.find("    (Default)    REG_SZ    " + install + "\\tessariant.html\r\n"),
              std::string::npos)
        << shown;
    EXPECT_NE(shown.find("    Contexts    REG_DWORD    0x10\r\n"), std::string::npos) << shown;
}

}  // namespace
}  // namespace vantorel
