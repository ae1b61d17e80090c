#include <gtest/gtest.h>

#include <filesystem>

#include "browser/BrowserHook.h"
#include "support/TempDir.h"

namespace vantorel {
namespace {

using test::readFile;
using test::TempDir;

BrowserHook::Locations in(const TempDir& dir, const std::string& program) {
    return {dir.file("data/applications"), dir.file("config/mimeapps.list"),
            dir.file("install/browser-extension"), program};
}

std::size_t countFiles(const std::string& root) {
    std::size_t n = 0;
    for (const auto& e : std::filesystem::recursive_directory_iterator(root))
        if (e.is_regular_file()) ++n;
    return n;
}

TEST(BrowserHook, WritesDesktopEntryHandlerAndExtension) {
    TempDir dir;
    const auto where = in(dir, "/home/u/My \"Apps\"/bin/vantorel-patent-downloader");
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
    EXPECT_EQ(mime,
              "[Default Applications]\ntext/html=firefox.desktop\n"
              "x-scheme-handler/vantorel=vantorel-url-handler.desktop\n[Added Associations]\nx=y\n");
    EXPECT_EQ(countFiles(dir.path()), files);
    EXPECT_NE(entry.find("\nExec=/opt/v/bin/vantorel-patent-downloader %u\n"), std::string::npos);
    EXPECT_EQ(readFile(where.applicationsFolder + "/vantorel-url-handler.desktop"), entry);
}

TEST(BrowserHook, FollowsTheInstallFolder) {
    const auto a = BrowserHook::locationsFor("/a/inst");
    EXPECT_EQ(a.program, "/a/inst/bin/vantorel-patent-downloader");
    EXPECT_EQ(a.extensionFolder, "/a/inst/browser-extension");
}

}  // namespace
}  // namespace vantorel
