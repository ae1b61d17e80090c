#include <gtest/gtest.h>

#include "platform/Failure.h"
#include "platform/Paths.h"
#include "platform/PrivateProfile.h"
#include "platform/RegistryKey.h"
#include "settings/SettingsStore.h"
#include "support/ScopedRegistry.h"
#include "support/TempDir.h"

namespace vantorel {
namespace {

using test::readFile;
using test::TempDir;
using test::writeFile;

const std::string kSep(1, kPathSeparator);

// Records the order in which the store sets the tab's values.
class FakeTab : public SettingsTab {
public:
    std::string login, password, path, timeout = "120";
    int preference = 0;
    std::vector<std::string> calls;

    std::string loginText() const override { return login; }
    std::string passwordText() const override { return password; }
    std::string pathText() const override { return path; }
    std::string timeoutText() const override { return timeout; }
    int viewingPreference() const override { return preference; }
    void setLoginText(const std::string& t) override { calls.push_back("Login"), login = t; }
    void setPasswordText(const std::string& t) override { calls.push_back("Pswd"), password = t; }
    void setPathText(const std::string& t) override { calls.push_back("Path"), path = t; }
    void setTimeoutText(const std::string& t) override { calls.push_back("Timeout"), timeout = t; }
    void setViewingPreference(int i) override {
        calls.push_back("PDFAction");
        preference = std::clamp(i, -1, 2);
    }
};

TEST(SettingsStore, FirstStartUsesTheDefaults) {
    TempDir install;
    SettingsStore store(install.path());
    FakeTab tab;
    tab.timeout = "x";
    store.load(tab);
    EXPECT_EQ(tab.calls,
              (std::vector<std::string>{"Login", "Pswd", "Timeout", "PDFAction", "Path"}));
    EXPECT_EQ(tab.login, "");
    EXPECT_EQ(tab.password, "");
    EXPECT_EQ(tab.timeout, "120");
    EXPECT_EQ(tab.preference, 0);
    EXPECT_EQ(tab.path, install.path() + kSep + "patents" + kSep);
    EXPECT_FALSE(std::filesystem::exists(store.settingsFile()));  // nothing written by a load
    EXPECT_EQ(store.serviceHost(), "localhost:8741");
}

TEST(SettingsStore, LoadsStoredValuesAndClampsThePreference) {
    TempDir install;
    SettingsStore store(install.path());
    writeFile(store.settingsFile(),
              "[Main]\nLogin=alice\nPswd= \"p w\" \nPath=\nTimeout=30\nPDFAction=7\n"
              "[Service]\nHost=patents.example:8080\n");
    FakeTab tab;
    store.load(tab);
    EXPECT_EQ(tab.login, "alice");
    EXPECT_EQ(tab.password, "p w");
    EXPECT_EQ(tab.timeout, "30");
    EXPECT_EQ(tab.preference, 2);
    EXPECT_EQ(tab.path,
              install.path() + kSep + "patents" + kSep);  // an empty Path means the default
    EXPECT_EQ(store.serviceHost(), "patents.example:8080");
}

TEST(SettingsStore, APreferenceThatIsNoNumberStopsTheLoadBeforePath) {
    TempDir install;
    SettingsStore store(install.path());
    writeFile(store.settingsFile(), "[Main]\nLogin=bob\nPDFAction=one\nPath=/p/\n");
    FakeTab tab;
    try {
        store.load(tab);
        FAIL();
    } catch (const Failure& failure) {
        EXPECT_EQ(failure.message(), "'one' is not a valid integer value");
    }
    EXPECT_EQ(tab.login, "bob");
    EXPECT_EQ(tab.path, "");
    EXPECT_EQ(tab.calls, (std::vector<std::string>{"Login", "Pswd", "Timeout"}));
}

TEST(SettingsStore, SaveWritesInOrderAndKeepsOtherSections) {
    TempDir install;
    SettingsStore store(install.path());
    writeFile(store.settingsFile(), "[Service]\nHost=h:1\n");
    FakeTab tab;
    tab.login = "alice";
    tab.password = "";
    tab.path = install.folder() + "patents" + kSep;
    tab.timeout = "not a number";
    tab.preference = -1;
    CurrentSettings current;
    store.save(tab, current);
    EXPECT_EQ(current.UserLogin, "alice");
    EXPECT_EQ(current.PatentPath, tab.path);
    const std::pair<const char*, std::string> saved[] = {
        {"Login", "alice"},          {"Pswd", ""},        {"Path", tab.path},
        {"Timeout", "not a number"}, {"PDFAction", "-1"},
    };
    const std::string text = readFile(store.settingsFile());
    std::size_t previous = 0;
    for (const auto& [key, value] : saved) {
        EXPECT_EQ(PrivateProfile::readString("Main", key, "absent", store.settingsFile()), value);
        const std::size_t at = text.find(std::string(key) + "=");
        EXPECT_NE(at, std::string::npos) << key;
        EXPECT_GT(at, previous) << key << " is written after the key before it";
        previous = at;
    }
    EXPECT_EQ(PrivateProfile::readString("Service", "Host", "", store.settingsFile()), "h:1");
}

TEST(SettingsStore, AFailedWriteStopsAtThatKey) {
    TempDir install;
    SettingsStore store(install.path());
    writeFile(store.settingsFile(), "[Main]\nLogin=old\nPswd=old\nPath=old\n");
    FakeTab tab;
    tab.login = "new";
    tab.path = "/new/";
    CurrentSettings current;
    {
        test::Unwritable guard(store.settingsFile());
        try {
            store.save(tab, current);
            FAIL();
        } catch (const Failure& failure) {
            EXPECT_EQ(failure.message(), "Unable to write to " + store.settingsFile());
        }
    }
    EXPECT_EQ(readFile(store.settingsFile()), "[Main]\nLogin=old\nPswd=old\nPath=old\n");
    EXPECT_EQ(current.UserLogin, "new");  // copied before the writes, and stays in effect

    SettingsStore nowhere(install.file("missing"));
    EXPECT_THROW(nowhere.save(tab, current), Failure);
}

// A folder picked with a line feed in its name must not redirect the account.
TEST(SettingsStore, APathWithALineBreakStopsTheSaveThere) {
    TempDir install;
    SettingsStore store(install.path());
    writeFile(store.settingsFile(), "[Main]\nLogin=old\nPath=/old/\n");
    FakeTab tab;
    tab.login = "ann";
    tab.path = "/p\n[Service]\nHost=evil.example:80\n/";
    CurrentSettings current;
    try {
        store.save(tab, current);
        FAIL();
    } catch (const Failure& failure) {
        EXPECT_EQ(failure.message(), "Unable to write to " + store.settingsFile());
    }
    // Login and Pswd went before it; Path and the keys after it are untouched.
    const std::string file = store.settingsFile();
    EXPECT_EQ(PrivateProfile::readString("Main", "Login", "absent", file), "ann");
    EXPECT_EQ(PrivateProfile::readString("Main", "Pswd", "absent", file), "");
    EXPECT_EQ(PrivateProfile::readString("Main", "Path", "absent", file), "/old/");
    EXPECT_EQ(PrivateProfile::readString("Main", "Timeout", "absent", file), "absent");
    EXPECT_EQ(store.serviceHost(), "localhost:8741");
}

TEST(SettingsStore, ReadsTheInstallFolderFromTheProgramKey) {
    test::ScopedRegistry registry({kProgramRegistryKey});
    RegistryKey key;
    ASSERT_TRUE(key.openOrCreate(kProgramRegistryKey));
    EXPECT_EQ(SettingsStore::readInstallFolder(key), "");
    key.writeString("InstallPath", "/opt/vantorel");
    EXPECT_EQ(SettingsStore::readInstallFolder(key), "/opt/vantorel");
    // Without an install folder both lie at the root of the current drive.
    EXPECT_EQ(SettingsStore("").settingsFile(), kSep + "tessariant.ini");
    EXPECT_EQ(SettingsStore("").defaultPatentFolder(), kSep + "patents" + kSep);
}

}  // namespace
}  // namespace vantorel
