#include "browser/BrowserEntry.h"

#include "platform/FileSystem.h"
#include "platform/Paths.h"
#include "platform/RegistryKey.h"

namespace vantorel::BrowserEntry {

std::string menuScript(const std::string& installPath) {
    std::string doubled;
    for (const char c : installPath) {
        doubled += c;
        if (c == '\\') doubled += '\\';
    }
    return std::string(R"(<SCRIPT>var shell = new ActiveXObject("WScript.Shell");shell.run('"' + ")") +
           doubled +
           R"(\\Vantorel Patent Downloader.exe" + '"' + " " + '"' + external.menuArguments.document.selection.createRange().text );</SCRIPT>)";
}

std::string scriptPath(const std::string& installPath) {
    return joinPath(installPath, kScriptFileName);
}

void registerMenuEntry(const std::string& installPath) {
    writeWholeFile(scriptPath(installPath), menuScript(installPath));
    RegistryKey key;
    // The open's result is not looked at: a key that did not open fails the write below.
    key.openOrCreate(kMenuExtKey);
    key.writeString("", scriptPath(installPath));
    key.writeInteger("Contexts", 16);
}

}  // namespace vantorel::BrowserEntry
