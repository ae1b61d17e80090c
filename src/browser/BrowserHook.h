#pragma once

#include <string>

namespace vantorel::BrowserHook {

// Where the hook's pieces live.
struct Locations {
    std::string applicationsFolder;  // $XDG_DATA_HOME/applications
    std::string mimeAppsFile;        // $XDG_CONFIG_HOME/mimeapps.list
    std::string extensionFolder;     // InstallPath/browser-extension
    std::string program;             // the installed program
    // $XDG_DATA_HOME/vantorel/vantorel-patent-downloader: a link to the
    // program that the desktop entry starts when the program's own path
    // holds characters that simple Exec parsers cannot take (blanks, "%").
    std::string launcher;
};

inline constexpr const char* kDesktopFileName = "vantorel-url-handler.desktop";
inline constexpr const char* kMimeType = "x-scheme-handler/vantorel";

Locations locationsFor(const std::string& installPath);

// The desktop entry that starts `program` with the address (%u).
std::string desktopEntry(const std::string& program);

// The path the desktop entry starts: the program itself when its path is made
// of plain characters, else the launcher link when that path is plain, else
// the program (quoted, which only launchers that follow the desktop-entry
// rules take).
std::string startedPath(const Locations& where);

// The file a path stands for after following symbolic links, so that an edit
// goes through a link instead of replacing it.
std::string followedLinks(const std::string& path);
std::string extensionManifest();
std::string extensionScript();

// Writes the scheme handler's desktop entry (and the launcher link when it is
// the started path), makes it the user's default for vantorel: addresses
// (editing mimeapps.list through a link) and writes the browser extension into
// the install folder. Rewrites the same files at every start. Failures:
// "Cannot create file <path>".
void registerHook(const Locations& where);

// What this platform's browsers need beyond the menu-extension entry: on
// Linux the hook above for an installed program (nothing without an install
// folder); on Windows nothing.
void registerForThisPlatform(const std::string& installPath);

}  // namespace vantorel::BrowserHook
