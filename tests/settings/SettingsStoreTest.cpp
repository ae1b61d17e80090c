#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/Failure.h"
#include "platform/PrivateProfile.h"
#include "platform/RegistryKey.h"
#include "settings/SettingsStore.h"
#include "support/TempDir.h"

namespace vantorel {
namespace {

using test::readFile;
using test::TempDir;
using test::writeFile;

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
    EXPECT_EQ(tab.calls, (std::vector<std::string>{"Login", "Pswd", "Timeout", "PDFAction", "Path"}));
    EXPECT_EQ(tab.login, "");
    EXPECT_EQ(tab.password, "");
    EXPECT_EQ(tab.timeout, "120");
    EXPECT_EQ(tab.preference, 0);
    EXPECT_EQ(tab.path, install.path() + "/patents/");
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
    EXPECT_EQ(tab.path, install.path() + "/patents/");  // an empty Path means the default
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
    tab.path = "/data/patents/";
    tab.timeout = "not a number";
    tab.preference = -1;
    CurrentSettings current;
    store.save(tab, current);
    EXPECT_EQ(current.UserLogin, "alice");
    EXPECT_EQ(current.PatentPath, "/data/patents/");
    EXPECT_EQ(readFile(store.settingsFile()),
              "[Service]\nHost=h:1\n[Main]\nLogin=alice\nPswd=\nPath=/data/patents/\n"
              "Timeout=not a number\nPDFAction=-1\n");
    struct stat st {};
    ASSERT_EQ(stat(store.settingsFile().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST(SettingsStore, AFailedWriteStopsAtThatKey) {
    TempDir install;
    SettingsStore store(install.path());
    writeFile(store.settingsFile(), "[Main]\nLogin=old\nPswd=old\nPath=old\n");
    chmod(store.settingsFile().c_str(), 0444);
    FakeTab tab;
    tab.login = "new";
    tab.path = "/new/";
    CurrentSettings current;
    try {
        store.save(tab, current);
        FAIL();
    } catch (const Failure& failure) {
        EXPECT_EQ(failure.message(), "Unable to write to " + store.settingsFile());
    }
    EXPECT_EQ(readFile(store.settingsFile()), "[Main]\nLogin=old\nPswd=old\nPath=old\n");
    EXPECT_EQ(current.UserLogin, "new");  // copied before the writes, and stays in effect

    SettingsStore nowhere(install.file("missing"));
    EXPECT_THROW(nowhere.save(tab, current), Failure);
}

TEST(SettingsStore, ReadsTheInstallFolderFromTheProgramKey) {
    test::ScopedConfigHome home;
    RegistryKey key;
    ASSERT_TRUE(key.openOrCreate(kProgramRegistryKey));
    EXPECT_EQ(SettingsStore::readInstallFolder(key), "");
    key.writeString("InstallPath", "/opt/vantorel");
    EXPECT_EQ(SettingsStore::readInstallFolder(key), "/opt/vantorel");
    EXPECT_EQ(SettingsStore("").settingsFile(), "/tessariant.ini");
    EXPECT_EQ(SettingsStore("").defaultPatentFolder(), "/patents/");
}

}  // namespace
}  // namespace vantorel
