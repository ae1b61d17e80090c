// The handlers' logic behind any window, driven through a fake one.
#include <stdexcept>

#include "CoreFixture.h"
#include "platform/Failure.h"

namespace vantorel::test {
namespace {

using Edit = MainFormView::Edit;

class MainFormCoreTest : public CoreFixture {
protected:
    void SetUp() override {
        CoreFixture::SetUp();
        makeCore().FormCreate();
    }
};

TEST_F(MainFormCoreTest, TheFolderPickerSetsThePatentFolder) {
    const std::string sep(1, kSeparator);
    const std::string before = core->pathText();
    struct Case {
        const char* what;
        std::optional<std::string> picked;
        std::string path;  // the patent folder afterwards
        bool refused = false;
    };
    const Case cases[] = {
        {"cancelled", std::nullopt, before},
        {"plain folder", sep + "data" + sep + "pdf", sep + "data" + sep + "pdf" + sep},
        {"root", sep, sep},
        {"folder known by network name only", "", sep},
        {"line feed", sep + "a\nb", before, true},
        {"carriage return", sep + "a\rb", before, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        core->setPathText(before);
        view.messages.clear();
        view.picked = c.picked;
        core->Button4Click();
        EXPECT_EQ(core->pathText(), c.path);
        EXPECT_EQ(core->currentSettings().PatentPath, c.path);
        EXPECT_EQ(view.messages.size(), c.refused ? 1u : 0u);
        if (c.refused) {
            EXPECT_EQ(view.messages[0], MainFormCore::kLineBreakInFolderMessage);
        }
    }
    EXPECT_TRUE(view.errors.empty());
}

TEST_F(MainFormCoreTest, SettingAnEditRunsItsChangeHandlerOnlyWhenTheTextDiffers) {
    struct Case {
        Edit edit;
        std::string CurrentSettings::*field;  // null: the edit has no change handler
    };
    const Case cases[] = {{Edit::LoginEdit, &CurrentSettings::UserLogin},
                          {Edit::PassEdit, &CurrentSettings::UserPassword},
                          {Edit::PathEdit, &CurrentSettings::PatentPath},
                          {Edit::PatID, nullptr},
                          {Edit::TOEdit, nullptr}};
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.edit));
        core->setEditText(c.edit, "new");
        EXPECT_EQ(view.editText(c.edit), "new");
        if (c.field) {
            EXPECT_EQ(core->currentSettings().*c.field, "new");
        }
        const int sets = view.editSets;
        if (c.field) core->currentSettings().*c.field = "sentinel";
        core->setEditText(c.edit, "new");
        EXPECT_EQ(view.editSets, sets);
        if (c.field) {
            EXPECT_EQ(core->currentSettings().*c.field, "sentinel");
        }
    }
}

TEST_F(MainFormCoreTest, FailuresEscapingAHandlerReachTheErrorBox) {
    core->setDownloadCommand([] { throw Failure("'abc' is not a valid integer value"); });
    core->Button1Click();
    EXPECT_FALSE(core->downloadRunning());
    core->setDownloadCommand([] { throw std::runtime_error("out of memory"); });
    core->Timer1Timer();  // no request: nothing runs
    core->Button1Click();
    core->currentSettings().InstallPath = install + kSeparator + "gone";
    core->Button5Click();
    EXPECT_EQ(view.errors,
              (std::vector<std::string>{"'abc' is not a valid integer value", "out of memory",
                                        "Unable to write to " + install + kSeparator + "gone" +
                                            kSeparator + "tessariant.ini"}));
}

TEST_F(MainFormCoreTest, ListBannerAndTransferProgressGoThroughTheView) {
    std::filesystem::create_directories(core->currentSettings().PatentPath);
    writeFile(core->currentSettings().PatentPath + "US1.pdf", "%PDF");
    core->RescanPatents();
    ASSERT_EQ(view.rows, std::vector<std::string>{"US1"});
    view.selected = 0;
    core->PatentsListDblClick();
    core->Button2Click();
    core->Image1Click();
    EXPECT_EQ(view.opened, (std::vector<std::string>{core->currentSettings().PatentPath + "US1.pdf",
                                                     core->currentSettings().PatentPath + "US1.pdf",
                                                     MainFormCore::kHomePage}));
    core->Button3Click();  // answered No: kept, list rebuilt
    ASSERT_EQ(view.questions.size(), 1u);
    EXPECT_EQ(view.questions[0].rfind("Warning: ", 0), 0u);
    EXPECT_EQ(view.rows.size(), 1u);
    core->HTTPClientWork(WorkMode::Receiving, 10);
    EXPECT_EQ(view.pumps, 1);
}

TEST_F(MainFormCoreTest, ACloseDuringARunWaitsForItsEndAndStartsNothingElse) {
    EXPECT_TRUE(core->closeRequested()) << "idle: the window goes at once";
    EXPECT_EQ(view.closes, 0);

    std::vector<bool> allowed;
    duringDownload = [&] {
        allowed.push_back(core->closeRequested());
        allowed.push_back(core->closeRequested());  // asked twice, closed once
        core->Timer1Timer();                        // a due hand-off must not start
        EXPECT_EQ(view.closes, 0) << "the run goes on with the window up";
    };
    core->Button1Click();
    EXPECT_EQ(allowed, (std::vector<bool>{false, false}));
    EXPECT_EQ(view.closes, 1);
    EXPECT_EQ(downloads, 1);
    EXPECT_FALSE(view.timer) << "no hand-off is armed for a closing window";

    duringDownload = nullptr;
    core->Button1Click();  // a later run ends without closing anything
    EXPECT_EQ(view.closes, 1);
}

TEST_F(MainFormCoreTest, TheServiceHostAndCaFileAreReadAfreshFromTheSettingsFile) {
    const std::string file = SettingsStore(install).settingsFile();
    EXPECT_EQ(core->serviceHost(), kDefaultServiceHost);
    EXPECT_EQ(core->caFile(), "");
    ASSERT_TRUE(PrivateProfile::writeString("Service", "Host", "https://svc:8443", file));
    ASSERT_TRUE(PrivateProfile::writeString("Service", "CAFile", "/etc/company-ca.pem", file));
    EXPECT_EQ(core->serviceHost(), "https://svc:8443");
    EXPECT_EQ(core->caFile(), "/etc/company-ca.pem");
}

}  // namespace
}  // namespace vantorel::test
