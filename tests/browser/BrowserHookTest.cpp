#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "browser/BrowserHook.h"
#include "support/TempDir.h"

namespace vantorel {
namespace {

using test::readFile;
using test::TempDir;

BrowserHook::Locations in(
    const TempDir& dir, const std::string& program,
    const std::string& launcher = "data/vantorel/vantorel-patent-downloader") {
    return {dir.file("data/applications"), dir.file("config/mimeapps.list"),
            dir.file("install/browser-extension"), program, dir.file(launcher)};
}

std::size_t countFiles(const std::string& root) {
    std::size_t n = 0;
    for (const auto& e : std::filesystem::recursive_directory_iterator(root))
        if (e.is_regular_file()) ++n;
    return n;
}

TEST(BrowserHook, WritesDesktopEntryHandlerAndExtension) {
    TempDir dir;
    const auto where = in(dir, "/home/u/My \"Apps\"/bin/vantorel-patent-downloader", "da ta/v");
    BrowserHook::registerHook(where);

    EXPECT_EQ(readFile(where.applicationsFolder + "/vantorel-url-handler.desktop"),
              "[Desktop Entry]\nType=Application\nName=Vantorel Patent Downloader\n"
              "Comment=Downloads the patent numbers selected in a web page\n"
              "Exec=\"/home/u/My \\\\\"Apps\\\\\"/bin/vantorel-patent-downloader\" %u\n"
              "Terminal=false\nNoDisplay=true\nMimeType=x-scheme-handler/vantorel;\n");
    EXPECT_EQ(readFile(where.mimeAppsFile),
              "[Default Applications]\nx-scheme-handler/vantorel=vantorel-url-handler.desktop\n");
    const std::string manifest = readFile(where.extensionFolder + "/manifest.json");
    EXPECT_NE(manifest.find("\"contextMenus\""), std::string::npos);
    EXPECT_NE(manifest.find("\"background.js\""), std::string::npos);
    const std::string script = readFile(where.extensionFolder + "/background.js");
    EXPECT_NE(script.find("contexts: [\"selection\"]"), std::string::npos);
    EXPECT_NE(script.find("\"vantorel:\" + encodeURIComponent(info.selectionText)"),
              std::string::npos);
}

TEST(BrowserHook, ASecondStartRewritesTheSameFilesAndKeepsOtherHandlers) {
    TempDir dir;
    const auto where = in(dir, "/opt/v/bin/vantorel-patent-downloader");
    std::filesystem::create_directories(dir.file("config"));
    test::writeFile(where.mimeAppsFile,
                    "[Default Applications]\ntext/html=firefox.desktop\n"
                    "x-scheme-handler/vantorel=old.desktop\n[Added Associations]\nx=y\n");
    BrowserHook::registerHook(where);
    const std::string mime = readFile(where.mimeAppsFile);
    const auto files = countFiles(dir.path());
    const std::string entry = readFile(where.applicationsFolder + "/vantorel-url-handler.desktop");

    BrowserHook::registerHook(where);
    EXPECT_EQ(readFile(where.mimeAppsFile), mime);
    EXPECT_EQ(
        mime,
        "[Default Applications]\ntext/html=firefox.desktop\n"
        "x-scheme-handler/vantorel=vantorel-url-handler.desktop\n[Added Associations]\nx=y\n");
    EXPECT_EQ(countFiles(dir.path()), files);
    EXPECT_NE(entry.find("\nExec=/opt/v/bin/vantorel-patent-downloader %u\n"), std::string::npos);
    EXPECT_EQ(readFile(where.applicationsFolder + "/vantorel-url-handler.desktop"), entry);
}

// Blanks and "%" go through a link at a plain path, which GIO and xdg-open's
// generic mode both take (tests/e2e/scheme_e2e.sh runs both); the link goes
// again once the program's own path is plain.
TEST(BrowserHook, ExecLinesAreValidAndSimpleParsersCanSplitThem) {
    const std::pair<std::string, std::string> cases[] = {
        // program, Exec (@: temp folder)
        {"@/My Apps/p", "@/data/l %u"},
        {"@/opt/v/p", "@/opt/v/p %u"},
        {"@/100%/p", "@/data/l %u"},
        {"@/100% \"x\"/p", "\"@/100%% \\\\\"x\\\\\"/p\" %u"},  // with "da ta/l"
    };
    TempDir dir;
    const auto at = [&](std::string text) {
        for (auto i = text.find('@'); i != std::string::npos; i = text.find('@'))
            text.replace(i, 1, dir.path());
        return text;
    };
    for (const auto& [program, exec] : cases) {
        const auto where = in(dir, at(program), exec[0] == '"' ? "da ta/l" : "data/l");
        BrowserHook::registerHook(where);
        const std::string file = where.applicationsFolder + "/vantorel-url-handler.desktop";
        const std::string entry = readFile(file);
        EXPECT_NE(entry.find("\nExec=" + at(exec) + "\n"), std::string::npos) << entry;
        EXPECT_EQ(std::system(("desktop-file-validate '" + file + "'").c_str()), 0) << program;
        const bool linked = exec.rfind("@/data/l", 0) == 0;
        EXPECT_EQ(std::filesystem::is_symlink(where.launcher), linked) << program;
        if (linked) {
            EXPECT_EQ(std::filesystem::read_symlink(where.launcher), where.program);
        }
    }
}

TEST(BrowserHook, AMimeappsListThatIsALinkIsEditedThroughIt) {
    TempDir dir;
    const auto where = in(dir, "/opt/v/p");
    std::filesystem::create_directories(dir.file("config"));
    std::filesystem::create_directories(dir.file("dotfiles"));
    test::writeFile(dir.file("dotfiles/mimeapps.list"), "");
    std::filesystem::create_symlink("../dotfiles/mimeapps.list", where.mimeAppsFile);
    BrowserHook::registerHook(where);
    EXPECT_TRUE(std::filesystem::is_symlink(where.mimeAppsFile));
    EXPECT_EQ(readFile(dir.file("dotfiles/mimeapps.list")),
              "[Default Applications]\nx-scheme-handler/vantorel=vantorel-url-handler.desktop\n");
}

TEST(BrowserHook, FollowsTheInstallFolder) {
    const auto a = BrowserHook::locationsFor("/a/inst");
    EXPECT_EQ(a.program, "/a/inst/bin/vantorel-patent-downloader");
    EXPECT_EQ(a.extensionFolder, "/a/inst/browser-extension");
}

}  // namespace
}  // namespace vantorel
