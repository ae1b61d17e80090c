#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "FakeView.h"
#include "form/MainFormCore.h"
#include "platform/PrivateProfile.h"
#include "platform/RegistryKey.h"
#include "settings/SettingsStore.h"
#include "support/TempDir.h"

namespace vantorel::test {

// A core over a fake view and a fresh install folder, with a counting
// download command; the per-user configuration and data live in temp folders.
class CoreFixture : public ::testing::Test {
public:
    void SetUp() override { install = home.path(); }

    void setInstallPath(const std::string& path) {
        RegistryKey key;
        ASSERT_TRUE(key.openOrCreate(kProgramRegistryKey));
        key.writeString("InstallPath", path);
    }
    void writeSetting(const std::string& key, const std::string& value) {
        ASSERT_TRUE(PrivateProfile::writeString(kSettingsSection, key, value,
                                                SettingsStore(install).settingsFile()));
    }
    MainFormCore& makeCore(const std::string& request = "") {
        setInstallPath(install);
        core = std::make_unique<MainFormCore>(view, view, request);
        core->setDownloadCommand([this] {
            ++downloads;
            if (duringDownload) duringDownload();
        });
        return *core;
    }

    TempDir home;
    ScopedConfigHome config;
    TempDir data;
    ScopedEnv dataHome{"XDG_DATA_HOME", data.path()};
    std::string install;
    FakeView view;
    int downloads = 0;
    std::function<void()> duringDownload;
    std::unique_ptr<MainFormCore> core;
};

}  // namespace vantorel::test
