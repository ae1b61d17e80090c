#pragma once

#include <string>

namespace vantorel::BrowserHook {

// Where the hook's pieces live.
struct Locations {
    std::string applicationsFolder;  // $XDG_DATA_HOME/applications
    std::string mimeAppsFile;        // $XDG_CONFIG_HOME/mimeapps.list
    std::string extensionFolder;     // InstallPath/browser-extension
    std::string program;             // the installed program
};

inline constexpr const char* kDesktopFileName = "vantorel-url-handler.desktop";
inline constexpr const char* kMimeType = "x-scheme-handler/vantorel";

Locations locationsFor(const std::string& installPath);

std::string desktopEntry(const std::string& program);
std::string extensionManifest();
std::string extensionScript();

// Writes the scheme handler's desktop entry, makes it the user's default for
// vantorel: addresses and writes the browser extension into the install
// folder. Rewrites the same files at every start. Failures:
// "Cannot create file <path>".
void registerHook(const Locations& where);

// What this platform's browsers need beyond the menu-extension entry: on
// Linux the hook above for an installed program (nothing without an install
// folder); on Windows nothing.
void registerForThisPlatform(const std::string& installPath);

}  // namespace vantorel::BrowserHook
