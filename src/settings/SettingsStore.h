#pragma once

#include <string>

#include "settings/CurrentSettings.h"
#include "settings/SettingsTab.h"

namespace vantorel {

class RegistryKey;

// The program's own per-user registry key, which holds InstallPath.
inline constexpr const char* kProgramRegistryKey = "\\Software\\Vantorel Patent Downloader";
inline constexpr const char* kSettingsSection = "Main";
inline constexpr const char* kDefaultServiceHost = "localhost:8741";

class SettingsStore {
public:
    explicit SettingsStore(std::string installPath) : installPath_(std::move(installPath)) {}

    // InstallPath from the open program key; a missing value reads as empty.
    static std::string readInstallFolder(const RegistryKey& programKey);

    const std::string& installPath() const { return installPath_; }
    std::string settingsFile() const;          // InstallPath + "/tessariant.ini"
    std::string defaultPatentFolder() const;   // InstallPath + "/patents/"

    // Fills the tab in the fixed order Login, Pswd, Timeout, PDFAction, Path.
    // A PDFAction that is not a whole number fails before Path is loaded.
    void load(SettingsTab& tab) const;

    // Copies the edits into `current`, then writes Login, Pswd, Path, Timeout,
    // PDFAction in that order; the first write that fails stops the save with
    // "Unable to write to <file>".
    void save(const SettingsTab& tab, CurrentSettings& current) const;

    // The patent service's host and port (section Service, key Host).
    std::string serviceHost() const;
    // A PEM file of extra trusted roots for https (section Service, key
    // CAFile); empty: the system's trust store only.
    std::string caFile() const;

private:
    std::string installPath_;
};

}  // namespace vantorel
