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

// Characters that every Exec parser takes as they are. xdg-open's generic
// mode splits at blanks, knows no quotes, expands wildcards, reads
// backslashes as escapes and leaves "%%" doubled.
bool plainPath(const std::string& text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || (c && std::strchr("/._+-,@", c));
    });
}

// An argument for a desktop entry's Exec key: plain paths unquoted, others
// with the Exec quoting, "%" as "%%", then the escaping of string values.
std::string execArgument(const std::string& text) {
    if (plainPath(text)) return text;
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
        if (c == '%') quoted += '%';
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

// Points `link` at `target`, replacing what is there in one step.
void placeLink(const std::string& target, const std::string& link) {
    const std::filesystem::path path(link);
    ensureFolder(path.parent_path().string(), link);
    const std::filesystem::path temporary =
        path.parent_path() / ("." + path.filename().string() + ".new");
    std::error_code error;
    std::filesystem::remove(temporary, error);
    std::filesystem::create_symlink(target, temporary, error);
    if (!error) std::filesystem::rename(temporary, path, error);
    if (error) {
        std::filesystem::remove(temporary, error);
        throw Failure("Cannot create file " + link);
    }
}

// Drops a launcher link left from an install folder that needed one.
void dropLink(const std::string& link) {
    std::error_code error;
    if (std::filesystem::is_symlink(link, error)) std::filesystem::remove(link, error);
}

}  // namespace

std::string startedPath(const Locations& where) {
    return plainPath(where.program) || !plainPath(where.launcher) ? where.program : where.launcher;
}

std::string followedLinks(const std::string& path) {
    std::filesystem::path current(path);
    std::error_code error;
    // A bound on the hops, as the system has, so a loop of links ends.
    for (int hop = 0; hop < 40 && std::filesystem::is_symlink(current, error); ++hop) {
        const std::filesystem::path target = std::filesystem::read_symlink(current, error);
        if (error) break;
        current = target.is_absolute() ? target : current.parent_path() / target;
    }
    return current.string();
}

Locations locationsFor(const std::string& installPath) {
    const std::string home = envOr("HOME", ".");
    const std::string dataHome = envOr("XDG_DATA_HOME", home + "/.local/share");
    Locations where;
    where.applicationsFolder = dataHome + "/applications";
    where.mimeAppsFile = envOr("XDG_CONFIG_HOME", home + "/.config") + "/mimeapps.list";
    where.extensionFolder = joinPath(installPath, "browser-extension");
    where.program = joinPath(joinPath(installPath, "bin"), "vantorel-patent-downloader");
    where.launcher = dataHome + "/vantorel/vantorel-patent-downloader";
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
    "scripts": ["background.js"],
    "preferred_environment": ["service_worker", "document"]
  },
  "browser_specific_settings": {
    "gecko": {
      "id": "patent-downloader@vantorel.example",
      "strict_min_version": "140.0",
      "data_collection_permissions": { "required": ["none"] }
    },
    "gecko_android": { "strict_min_version": "142.0" }
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
    const std::string started = startedPath(where);
    if (started == where.program) {
        dropLink(where.launcher);
    } else {
        placeLink(where.program, where.launcher);
    }
    writeInFolder(joinPath(where.applicationsFolder, kDesktopFileName), desktopEntry(started));

    const std::string mimeApps = followedLinks(where.mimeAppsFile);
    if (PrivateProfile::readString("Default Applications", kMimeType, "", mimeApps) !=
        kDesktopFileName) {
        ensureFolder(std::filesystem::path(mimeApps).parent_path().string(), where.mimeAppsFile);
        if (!PrivateProfile::writeString("Default Applications", kMimeType, kDesktopFileName,
                                         mimeApps))
            throw Failure("Cannot create file " + where.mimeAppsFile);
    }
    writeInFolder(joinPath(where.extensionFolder, "manifest.json"), extensionManifest());
    writeInFolder(joinPath(where.extensionFolder, "background.js"), extensionScript());
}

}  // namespace vantorel::BrowserHook
