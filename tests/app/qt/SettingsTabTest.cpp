// The Settings tab's change handlers and "Save Changes".
#include <QLineEdit>
#include <QPushButton>

#include "app/qt/FormFixture.h"

namespace vantorel::test {
namespace {

class SettingsTabTest : public FormFixture {};

struct EditCase {
    const char* edit;
    std::string CurrentSettings::*field;
};

const EditCase kEdits[] = {
    {"LoginEdit", &CurrentSettings::UserLogin},
    {"PassEdit", &CurrentSettings::UserPassword},
    {"PathEdit", &CurrentSettings::PatentPath},
};

TEST_F(SettingsTabTest, ChangeHandlersKeepTheCurrentSettingsEqualToTheEdits) {
    TMainForm& w = makeForm();
    for (const EditCase& c : kEdits) {
        SCOPED_TRACE(c.edit);
        auto* edit = w.findChild<QLineEdit*>(c.edit);
        ASSERT_NE(edit, nullptr);
        edit->setText("first value");
        EXPECT_EQ(w.core().currentSettings().*c.field, "first value");
        edit->setText("");
        EXPECT_EQ(w.core().currentSettings().*c.field, "");
        edit->setText("caf\xc3\xa9 \\ ;");
        EXPECT_EQ(w.core().currentSettings().*c.field, "caf\xc3\xa9 \\ ;");
    }
}

TEST_F(SettingsTabTest, SettingTheShownTextRunsNoHandler) {
    TMainForm& w = makeForm();
    for (const EditCase& c : kEdits) {
        SCOPED_TRACE(c.edit);
        auto* edit = w.findChild<QLineEdit*>(c.edit);
        edit->setText("shown");
        w.core().currentSettings().*c.field = "sentinel";
        edit->setText("shown");
        EXPECT_EQ(w.core().currentSettings().*c.field, "sentinel");
    }
    w.core().setPathText(w.core().pathText());
    EXPECT_EQ(w.core().currentSettings().PatentPath, "sentinel");
}

TEST_F(SettingsTabTest, TypingChangesTheAccountAtOnceWithoutSaving) {
    TMainForm& w = makeForm();
    QTest::keyClicks(w.LoginEdit, "alice");
    QTest::keyClicks(w.PassEdit, "pw");
    EXPECT_EQ(w.core().currentSettings().UserLogin, "alice");
    EXPECT_EQ(w.core().currentSettings().UserPassword, "pw");
    EXPECT_EQ(w.PassEdit->displayText(), "**");
    EXPECT_FALSE(std::filesystem::exists(install + "/tessariant.ini"));
}

TEST_F(SettingsTabTest, TheFolderFieldTakesNoTyping) {
    TMainForm& w = makeForm();
    const std::string before = w.core().pathText();
    w.PathEdit->setFocus();
    QTest::keyClicks(w.PathEdit, "xyz");
    EXPECT_EQ(w.core().pathText(), before);
}

TEST_F(SettingsTabTest, SaveChangesWritesTheFiveKeys) {
    writeSetting("Other", "kept");
    ASSERT_TRUE(
        PrivateProfile::writeString("Service", "Host", "example:1", install + "/tessariant.ini"));
    TMainForm& w = makeForm();
    w.LoginEdit->setText("alice");
    w.PassEdit->setText("");
    w.core().setPathText("/data/pdf/");
    w.TOEdit->setText("abc");
    w.setViewingPreference(2);
    w.Button5->click();
    EXPECT_TRUE(dialogs.errors.empty());

    const std::string file = install + "/tessariant.ini";
    auto read = [&](const char* section, const char* key) {
        return PrivateProfile::readString(section, key, "<absent>", file);
    };
    EXPECT_EQ(read("Main", "Login"), "alice");
    EXPECT_EQ(read("Main", "Pswd"), "");  // written as an empty value, not removed
    EXPECT_EQ(read("Main", "Path"), "/data/pdf/");
    EXPECT_EQ(read("Main", "Timeout"), "abc");  // not validated on save
    EXPECT_EQ(read("Main", "PDFAction"), "2");
    EXPECT_EQ(read("Main", "Other"), "kept");
    EXPECT_EQ(read("Service", "Host"), "example:1");
    EXPECT_EQ(w.core().currentSettings().UserLogin, "alice");
    EXPECT_EQ(w.core().currentSettings().PatentPath, "/data/pdf/");

    w.setViewingPreference(-1);
    w.Button5->click();
    EXPECT_EQ(read("Main", "PDFAction"), "-1");
}

TEST_F(SettingsTabTest, AFailedSaveReachesTheErrorBoxAndTheWindowGoesOn) {
    TMainForm& w = makeForm();
    const std::string missing = root + "/gone";
    w.core().currentSettings().InstallPath = missing;
    w.Button5->click();
    ASSERT_EQ(dialogs.errors.size(), 1u);
    EXPECT_EQ(dialogs.errors[0], "Unable to write to " + missing + "/tessariant.ini");
    w.core().currentSettings().InstallPath = install;
    w.Button5->click();
    EXPECT_EQ(dialogs.errors.size(), 1u);
    EXPECT_TRUE(std::filesystem::exists(install + "/tessariant.ini"));
}

}  // namespace
}  // namespace vantorel::test
