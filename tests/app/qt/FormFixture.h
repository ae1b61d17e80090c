#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <memory>

#include "app/qt/TMainForm.h"
#include "form/FakeDialogs.h"
#include "platform/PrivateProfile.h"
#include "platform/RegistryKey.h"
#include "settings/SettingsStore.h"
#include "support/TempDir.h"

namespace vantorel::test {

// A window built offscreen over a fresh install folder, with scripted boxes
// and a counting download command.
class FormFixture : public ::testing::Test {
public:
    void SetUp() override {
        root = scratch.path();
        install = root + "/install";
        std::filesystem::create_directories(install);
    }
    void TearDown() override { form.reset(); }

    static void setInstallPath(const std::string& path) {
        RegistryKey key;
        ASSERT_TRUE(key.openOrCreate(kProgramRegistryKey));
        key.writeString("InstallPath", path);
    }
    void writeSetting(const std::string& key, const std::string& value) {
        ASSERT_TRUE(PrivateProfile::writeString("Main", key, value, install + "/tessariant.ini"));
    }
    static void touch(const std::string& path) { std::ofstream(path) << "%PDF-1.4\n"; }

    TMainForm& makeForm(TMainFormOptions options = {}) {
        setInstallPath(install);
        form = std::make_unique<TMainForm>(dialogs, std::move(options));
        form->core().setDownloadCommand([this] { ++downloads; });
        return *form;
    }
    // Shown and active, so focus and keys behave as for a user.
    TMainForm& showForm() {
        TMainForm& shown = form ? *form : makeForm();
        shown.show();
        QApplication::setActiveWindow(&shown);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&shown));
        return shown;
    }

    TempDir scratch;
    std::string root;
    std::string install;
    FakeDialogs dialogs;
    int downloads = 0;
    std::unique_ptr<TMainForm> form;
};

}  // namespace vantorel::test
