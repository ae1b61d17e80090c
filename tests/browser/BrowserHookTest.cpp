#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

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

std::string execLine(const BrowserHook::Locations& where) {
    const std::string entry = readFile(where.applicationsFolder + "/vantorel-url-handler.desktop");
    const auto start = entry.find("\nExec=") + 6;
    return entry.substr(start, entry.find('\n', start) - start);
}

int run(const std::string& command) {
    return std::system((command + " >/dev/null 2>&1").c_str());
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

TEST(BrowserHook, ExecLinesAreValidAndSimpleParsersCanSplitThem) {
    struct Case {
        const char* name;
        std::string program;
        const char* launcher;
        std::string exec;  // with "@" for the temp folder
    };
    const Case cases[] = {
        {"plain", "@/opt/v/p", "data/v/l", "@/opt/v/p %u"},
        {"blank", "@/My Apps/p", "data/v/l", "@/data/v/l %u"},
        {"percent", "@/100%/p", "data/v/l", "@/data/v/l %u"},
        {"no plain launcher", "@/100% \"x\"/p", "da ta/l", "\"@/100%% \\\\\"x\\\\\"/p\" %u"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const auto at = [&](std::string text) {
            for (auto i = text.find('@'); i != std::string::npos; i = text.find('@'))
                text.replace(i, 1, dir.path());
            return text;
        };
        const auto where = in(dir, at(c.program), c.launcher);
        BrowserHook::registerHook(where);
        EXPECT_EQ(execLine(where), at(c.exec));
        EXPECT_EQ(run("desktop-file-validate '" + where.applicationsFolder +
                      "/vantorel-url-handler.desktop'"),
                  0)
            << "desktop-file-validate (desktop-file-utils) rejects the entry";
        const bool linked = execLine(where).find(where.launcher) == 0;
        EXPECT_EQ(std::filesystem::is_symlink(where.launcher), linked);
        if (linked) {
            EXPECT_EQ(std::filesystem::read_symlink(where.launcher), where.program);
        }
    }
}

TEST(BrowserHook, ALinkLeftFromAnEarlierInstallGoes) {
    TempDir dir;
    BrowserHook::registerHook(in(dir, dir.file("a b/p")));
    const auto where = in(dir, dir.file("ab/p"));
    ASSERT_TRUE(std::filesystem::is_symlink(where.launcher));
    BrowserHook::registerHook(where);
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(where.launcher)));
}

// Both routes a browser takes to the handler: GIO (Firefox, GNOME) and
// xdg-open's generic mode (Chromium elsewhere), with an install folder whose
// path holds a blank and a "%". DISPLAY only steers xdg-open; nothing connects.
TEST(BrowserHook, GioAndGenericXdgOpenStartTheProgramWithTheAddress) {
    TempDir dir;
    const std::string program = dir.file("in st 5%/bin/vantorel-patent-downloader");
    std::filesystem::create_directories(std::filesystem::path(program).parent_path());
    test::writeFile(program, "#!/bin/sh\nprintf '%s\\n' \"$1\" >>'" + dir.file("got") + "'\n");
    std::filesystem::permissions(program, std::filesystem::perms::owner_all);
    const auto where = in(dir, program);
    BrowserHook::registerHook(where);

    const std::string env = "env -i PATH=/usr/bin:/bin HOME='" + dir.path() +
                            "' XDG_CONFIG_HOME='" + dir.file("config") + "' XDG_DATA_HOME='" +
                            dir.file("data") + "' XDG_DATA_DIRS='" + dir.file("none") + "' ";
    EXPECT_EQ(run(env + "DISPLAY=:424242 XDG_CURRENT_DESKTOP=X-Generic xdg-open vantorel:US%201"),
              0);
    EXPECT_EQ(run(env + "gio open vantorel:US%202"), 0);
    std::string got;
    for (int i = 0; i < 100 && (got = readFile(dir.file("got"))).size() < 32; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_NE(got.find("vantorel:US%201\n"), std::string::npos) << got;
    EXPECT_NE(got.find("vantorel:US%202\n"), std::string::npos) << got;
}

TEST(BrowserHook, AMimeappsListThatIsALinkIsEditedThroughIt) {
    TempDir dir;
    const auto where = in(dir, "/opt/v/p");
    std::filesystem::create_directories(dir.file("config"));
    std::filesystem::create_directories(dir.file("dotfiles"));
    test::writeFile(dir.file("dotfiles/mimeapps.list"), "[Default Applications]\na/b=c.desktop\n");
    std::filesystem::create_symlink("../dotfiles/mimeapps.list", where.mimeAppsFile);
    BrowserHook::registerHook(where);
    EXPECT_TRUE(std::filesystem::is_symlink(where.mimeAppsFile));
    EXPECT_EQ(readFile(dir.file("dotfiles/mimeapps.list")),
              "[Default Applications]\na/b=c.desktop\n"
              "x-scheme-handler/vantorel=vantorel-url-handler.desktop\n");
}

TEST(BrowserHook, FollowsTheInstallFolder) {
    const auto a = BrowserHook::locationsFor("/a/inst");
    EXPECT_EQ(a.program, "/a/inst/bin/vantorel-patent-downloader");
    EXPECT_EQ(a.extensionFolder, "/a/inst/browser-extension");
}

}  // namespace
}  // namespace vantorel
