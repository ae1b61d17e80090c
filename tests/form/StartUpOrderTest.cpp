// The start-up steps, their failure rule and the one-second hand-off of the
// command-line request, driven through the core with a fake window.
#include <filesystem>

#include "CoreFixture.h"
#include "browser/BrowserHook.h"

namespace vantorel::test {
namespace {

struct Scenario {
    const char* name;
    const char* request;
    // c FormCreate, s window shown, b Button1 pressed, t one second passes
    // (Timer1Timer runs only while the view's timer is enabled)
    const char* script;
    int runs;
    const char* patId;  // the patent field afterwards
    int messages = 0;
    bool badSetting = false;  // a start-up step fails; its error box lets the timer tick
    bool tickDuringRun = false;
};

const Scenario kScenarios[] = {
    {"ShownThenTick", "US6892391", "cstt", 1, "US6892391"},
    {"NoRequest", "", "cstt", 0, ""},
    {"BlanksAreARequest", "  ", "cst", 1, "  "},
    {"NeverShown", "US6892391", "cttt", 0, ""},
    {"TickBeforeShownWaitsForIt", "US6892391", "ctst", 1, "US6892391"},
    {"ErrorBoxDuringStartUp", "US6892391", "cttst", 1, "US6892391", 0, true},
    {"TickDuringARunWaitsForItsEnd", "US6892391", "csbtt", 2, "US6892391", 0, false, true},
    {"SchemeAddressDecoded", "vantorel:US%206892391", "cst", 1, "US 6892391"},
    {"SchemeAddressRefused", "vantorel:US%zz", "cstt", 0, "", 1},
};

// Failure output names the scenario instead of dumping its bytes.
void PrintTo(const Scenario& scenario, std::ostream* out) {
    *out << scenario.name;
}

class StartUpOrderTest : public CoreFixture, public ::testing::WithParamInterface<Scenario> {};

TEST_P(StartUpOrderTest, TheRequestIsDownloadedOnceTheWindowIsUpAndIdle) {
    const Scenario& s = GetParam();
    if (s.badSetting) writeSetting("PDFAction", "abc");
    MainFormCore& form = makeCore(s.request);
    auto tick = [&] {
        if (view.timer) form.Timer1Timer();
    };
    view.onError = tick;
    int depth = 0;
    int deepest = 0;
    duringDownload = [&] {
        deepest = std::max(deepest, ++depth);
        if (s.tickDuringRun) tick();
        --depth;
    };
    for (const char* step = s.script; *step; ++step) {
        switch (*step) {
            case 'c':
                form.FormCreate();
                break;
            case 's':
                form.windowShown();
                break;
            case 'b':
                form.Button1Click();
                break;
            case 't':
                tick();
                break;
        }
    }
    EXPECT_EQ(downloads, s.runs);
    EXPECT_LE(deepest, 1);
    EXPECT_EQ(view.editText(MainFormView::Edit::PatID), s.patId);
    EXPECT_EQ(view.messages.size(), static_cast<std::size_t>(s.messages));
    EXPECT_EQ(view.errors.size(), s.badSetting ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(Scripts, StartUpOrderTest, ::testing::ValuesIn(kScenarios),
                         [](const auto& info) { return std::string(info.param.name); });

bool hookRegistered(const std::string& install) {
    return std::filesystem::exists(BrowserHook::locationsFor(install).extensionFolder);
}

class StartUpStepsTest : public CoreFixture {};

TEST_F(StartUpStepsTest, AllStepsRunInOrderOnAFirstStart) {
    view.edits[MainFormView::Edit::LoginEdit] = "typed before";
    MainFormCore& form = makeCore();
    form.FormCreate();
    EXPECT_TRUE(view.errors.empty());
    EXPECT_EQ(view.tab, 0);
    EXPECT_TRUE(view.timer);
    EXPECT_EQ(form.currentSettings().InstallPath, install);
    EXPECT_EQ(form.currentSettings().UserLogin, "");  // loaded over what the edit held
    EXPECT_EQ(form.currentSettings().PatentPath, SettingsStore(install).defaultPatentFolder());
    EXPECT_EQ(form.pathText(), form.currentSettings().PatentPath);
    EXPECT_TRUE(std::filesystem::exists(install + kSeparator + "tessariant.html"));
    if (kSeparator == '/') {
        EXPECT_TRUE(hookRegistered(install));
    }
}

TEST_F(StartUpStepsTest, AFailedStepSkipsTheRestTheDesktopHookIncluded) {
    struct Case {
        const char* what;
        std::string installFolder;
        const char* pdfAction;
        std::string error;
    };
    const std::string missing = install + kSeparator + "missing";
    const Case cases[] = {
        {"menu script cannot be written", missing, nullptr,
         "Cannot create file " + missing + kSeparator + "tessariant.html"},
        {"viewing preference not a number", install, "abc", "'abc' is not a valid integer value"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        view = FakeView{};
        install = home.path();
        if (c.pdfAction) writeSetting("PDFAction", c.pdfAction);
        writeSetting("Path", home.folder());
        writeFile(home.file("US1.pdf"), "%PDF");
        install = c.installFolder;
        MainFormCore& form = makeCore();
        form.FormCreate();
        EXPECT_EQ(view.errors, std::vector<std::string>{c.error});
        EXPECT_EQ(form.pathText(), "");  // Path and the list come after
        EXPECT_TRUE(view.rows.empty());
        EXPECT_FALSE(hookRegistered(install));
        EXPECT_TRUE(view.timer);
        EXPECT_EQ(view.tab, 0);
        std::filesystem::remove(SettingsStore(home.path()).settingsFile());
    }
}

}  // namespace
}  // namespace vantorel::test
