#include <gtest/gtest.h>
#include <sys/stat.h>

#include "settings/SettingsStore.h"
#include "support/TempDir.h"

namespace vantorel {
namespace {

class QuietTab : public SettingsTab {
public:
    std::string loginText() const override { return "alice"; }
    std::string passwordText() const override { return ""; }
    std::string pathText() const override { return "/data/patents/"; }
    std::string timeoutText() const override { return "not a number"; }
    int viewingPreference() const override { return -1; }
    void setLoginText(const std::string&) override {}
    void setPasswordText(const std::string&) override {}
    void setPathText(const std::string&) override {}
    void setTimeoutText(const std::string&) override {}
    void setViewingPreference(int) override {}
};

// The file holds the password: the POSIX backend keeps it from other users.
TEST(SettingsStorePosix, SavedFileIsPlainAndReadableByItsOwnerOnly) {
    test::TempDir install;
    SettingsStore store(install.path());
    test::writeFile(store.settingsFile(), "[Service]\nHost=h:1\n");
    QuietTab tab;
    CurrentSettings current;
    store.save(tab, current);
    EXPECT_EQ(test::readFile(store.settingsFile()),
              "[Service]\nHost=h:1\n[Main]\nLogin=alice\nPswd=\nPath=/data/patents/\n"
              "Timeout=not a number\nPDFAction=-1\n");
    struct stat st {};
    ASSERT_EQ(stat(store.settingsFile().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}

}  // namespace
}  // namespace vantorel
