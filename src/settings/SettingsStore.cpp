#include "settings/SettingsStore.h"

#include "platform/Failure.h"
#include "platform/Paths.h"
#include "platform/PrivateProfile.h"
#include "platform/RegistryKey.h"
#include "platform/WholeNumber.h"

namespace vantorel {

std::string SettingsStore::readInstallFolder(const RegistryKey& programKey) {
    return programKey.readString("InstallPath");
}

std::string SettingsStore::settingsFile() const { return joinPath(installPath_, "tessariant.ini"); }

std::string SettingsStore::defaultPatentFolder() const {
    return joinPath(installPath_, "patents") + kPathSeparator;
}

void SettingsStore::load(SettingsTab& tab) const {
    const std::string file = settingsFile();
    auto read = [&](const char* key, const std::string& fallback) {
        return PrivateProfile::readString(kSettingsSection, key, fallback, file);
    };
    tab.setLoginText(read("Login", ""));
    tab.setPasswordText(read("Pswd", ""));
    tab.setTimeoutText(read("Timeout", "120"));
    tab.setViewingPreference(parseWholeNumber(read("PDFAction", "0")));
    std::string path = read("Path", defaultPatentFolder());
    if (path.empty()) path = defaultPatentFolder();
    tab.setPathText(path);
}

void SettingsStore::save(const SettingsTab& tab, CurrentSettings& current) const {
    current.UserLogin = tab.loginText();
    current.UserPassword = tab.passwordText();
    current.PatentPath = tab.pathText();

    const std::string file = settingsFile();
    const std::pair<const char*, std::string> entries[] = {
        {"Login", tab.loginText()},
        {"Pswd", tab.passwordText()},
        {"Path", tab.pathText()},
        {"Timeout", tab.timeoutText()},
        {"PDFAction", std::to_string(tab.viewingPreference())},
    };
    for (const auto& [key, value] : entries) {
        if (!PrivateProfile::writeString(kSettingsSection, key, value, file))
            throw Failure("Unable to write to " + file);
    }
}

std::string SettingsStore::serviceHost() const {
    std::string host = PrivateProfile::readString("Service", "Host", kDefaultServiceHost, settingsFile());
    return host.empty() ? kDefaultServiceHost : host;
}

std::string SettingsStore::caFile() const {
    return PrivateProfile::readString("Service", "CAFile", "", settingsFile());
}

}  // namespace vantorel
