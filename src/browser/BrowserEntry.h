#pragma once

#include <string>

namespace vantorel::BrowserEntry {

inline constexpr const char* kMenuExtKey =
    "\\Software\\Microsoft\\Internet Explorer\\MenuExt\\Vantorel Patent Downloader";
inline constexpr const char* kScriptFileName = "tessariant.html";

// The one-line script that starts the program with the selected text.
std::string menuScript(const std::string& installPath);

// InstallPath + "/tessariant.html".
std::string scriptPath(const std::string& installPath);

// Writes the script file into the install folder ("Cannot create file <path>")
// and points the menu-extension key at it ("Failed to set data for '<name>'").
void registerMenuEntry(const std::string& installPath);

}  // namespace vantorel::BrowserEntry
