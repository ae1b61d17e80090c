#include "browser/BrowserHook.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "platform/Failure.h"
#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "platform/PrivateProfile.h"

namespace vantorel::BrowserHook {
namespace {

std::string envOr(const char* name, const std::string& fallback) {
    const char* value = std::getenv(name);
    return value && *value ? value : fallback;
}

// An argument for a desktop entry's Exec key. Plain paths go unquoted, since
// the simple parsers (xdg-open's generic mode) split at blanks and know no
// quotes; others get the Exec quoting, then the escaping of string values.
std::string execArgument(const std::string& text) {
    const bool plain = !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || std::strchr("/._+-,@", c);
    });
    if (plain) return text;
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
        quoted += c;
    }
    quoted += '"';
    std::string escaped;
    for (const char c : quoted) {
        if (c == '\\') escaped += '\\';
        escaped += c;
    }
    return escaped;
}

void ensureFolder(const std::string& folder, const std::string& forFile) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (!std::filesystem::is_directory(folder)) throw Failure("Cannot create file " + forFile);
}

void writeInFolder(const std::string& path, const std::string& content) {
    ensureFolder(std::filesystem::path(path).parent_path().string(), path);
    writeWholeFile(path, content);
}

}  // namespace

Locations locationsFor(const std::string& installPath) {
    const std::string home = envOr("HOME", ".");
    Locations where;
    where.applicationsFolder = envOr("XDG_DATA_HOME", home + "/.local/share") + "/applications";
    where.mimeAppsFile = envOr("XDG_CONFIG_HOME", home + "/.config") + "/mimeapps.list";
    where.extensionFolder = joinPath(installPath, "browser-extension");
    where.program = joinPath(joinPath(installPath, "bin"), "vantorel-patent-downloader");
    return where;
}

std::string desktopEntry(const std::string& program) {
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Vantorel Patent Downloader\n"
           "Comment=Downloads the patent numbers selected in a web page\n"
           "Exec=" +
           execArgument(program) +
           " %u\n"
           "Terminal=false\n"
           "NoDisplay=true\n"
           "MimeType=" +
           kMimeType + ";\n";
}

std::string extensionManifest() {
    return R"({
  "manifest_version": 3,
  "name": "Vantorel Patent Downloader",
  "version": "1.0",
  "description": "Downloads the selected patent numbers with Vantorel Patent Downloader.",
  "permissions": ["contextMenus"],
  "background": {
    "service_worker": "background.js",
    "scripts": ["background.js"]
  },
  "browser_specific_settings": {
    "gecko": { "id": "patent-downloader@vantorel.example", "strict_min_version": "121.0" }
  }
}
)";
}

std::string extensionScript() {
    return R"(// One context-menu entry for selected text; it hands the selection to the
// desktop program through its vantorel: address.
const api = typeof browser !== "undefined" ? browser : chrome;
const MENU_ID = "vantorel-patent-downloader";

function createMenu() {
  api.contextMenus.removeAll(() => {
    api.contextMenus.create({
      id: MENU_ID,
      title: "Vantorel Patent Downloader",
      contexts: ["selection"],
    });
  });
}

api.runtime.onInstalled.addListener(createMenu);
api.runtime.onStartup.addListener(createMenu);

api.contextMenus.onClicked.addListener((info, tab) => {
  if (info.menuItemId !== MENU_ID || !info.selectionText) return;
  const address = "vantorel:" + encodeURIComponent(info.selectionText);
  if (tab && tab.id !== undefined && tab.id >= 0) {
    api.tabs.update(tab.id, { url: address });
  } else {
    api.tabs.create({ url: address });
  }
});
)";
}

void registerHook(const Locations& where) {
    writeInFolder(joinPath(where.applicationsFolder, kDesktopFileName),
                   desktopEntry(where.program));
    if (PrivateProfile::readString("Default Applications", kMimeType, "", where.mimeAppsFile) !=
        kDesktopFileName) {
        ensureFolder(std::filesystem::path(where.mimeAppsFile).parent_path().string(),
                     where.mimeAppsFile);
        if (!PrivateProfile::writeString("Default Applications", kMimeType, kDesktopFileName,
                                         where.mimeAppsFile))
            throw Failure("Cannot create file " + where.mimeAppsFile);
    }
    writeInFolder(joinPath(where.extensionFolder, "manifest.json"), extensionManifest());
    writeInFolder(joinPath(where.extensionFolder, "background.js"), extensionScript());
}

}  // namespace vantorel::BrowserHook
