// The picker's real dialog, opened in this process and driven with messages.
#include <windows.h>

#include <commctrl.h>
#include <commdlg.h>
#include <dlgs.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "app/win32/picker/DialogDriver.h"
#include "app/win32/picker/PickerRules.h"
#include "platform/Failure.h"
#include "platform/Paths.h"

namespace vantorel {
namespace {

using D = DialogDriver;
namespace fs = std::filesystem;

// A folder tree of our own (Data with Sub and Other, and a file the picker
// must not list), a visible owner window, and the working directory put back
// afterwards. Needs a display: without one the tests are skipped.
class PickerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ownerWindow = CreateWindowExA(0, "STATIC", "Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40,
                                      40, 300, 200, nullptr, nullptr, nullptr, nullptr);
        if (!ownerWindow) GTEST_SKIP() << "no display to open windows on";
        picker.setOwnerWindow(ownerWindow);
        char temp[MAX_PATH] = "";
        GetLongPathNameA(fs::temp_directory_path().string().c_str(), temp, MAX_PATH);
        root = fs::path(temp).string() + "vpick-" + std::to_string(GetCurrentProcessId()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name();
        root.erase(std::remove(root.begin(), root.end(), '/'), root.end());
        data = root + "\\Data";
        sub = data + "\\Sub";
        fs::create_directories(sub);
        fs::create_directories(data + "\\Other");
        std::ofstream(data + "\\note.txt") << "not a folder";
        startDirectory = currentDirectory();
        ASSERT_TRUE(setCurrentDirectory(root));
        picker.InitialDir = data;
    }
    void TearDown() override {
        if (!ownerWindow) return;
        setCurrentDirectory(startDirectory);
        std::error_code ignored;
        fs::remove_all(root, ignored);
        DestroyWindow(ownerWindow);
    }

    int run(std::vector<D::Step> steps) {
        bool timedOut = false;
        const int result = D::run(picker, std::move(steps), timedOut);
        EXPECT_FALSE(timedOut) << "the dialog had to be cancelled by the time limit";
        return result;
    }
    void recordEvents() {
        auto record = [this](const std::string& what) {
            return [this, what](TImplOpenDirectory* sender) {
                events.push_back(what == "folder" ? what + " " + picker.Directory : what);
                senders.push_back(sender);
            };
        };
        picker.OnShow = record("show");
        picker.OnFolderChange = record("folder");
        picker.OnClose = record("close");
    }

    std::string root, data, sub, startDirectory;
    HWND ownerWindow = nullptr;
    TOpenDirectory picker;
    std::vector<std::string> events;  // "show", "folder <Directory>", "close"
    std::vector<TImplOpenDirectory*> senders;
};

bool visible(HWND dialog, int id) {
    HWND control = GetDlgItem(dialog, id);
    return control && IsWindowVisible(control);
}

TEST_F(PickerTest, OpensCutDownToFoldersAndCancelLeavesNothing) {
    recordEvents();
    HWND other = CreateWindowExA(0, "STATIC", "Other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 60, 60,
                                 200, 100, nullptr, nullptr, nullptr, nullptr);
    std::vector<D::Step> steps = D::script("wait Data", root);
    steps.push_back(D::check([&](TImplOpenDirectory& dialog) {
        HWND window = dialog.dialogWindow();
        EXPECT_FALSE(visible(window, cmb1)) << "file-type selector";
        EXPECT_FALSE(visible(window, stc2)) << "its label";
        EXPECT_TRUE(visible(window, cmb2)) << "the folder selector stays";
        EXPECT_EQ(SendMessageA(dialog.folderList(), LVM_GETITEMCOUNT, 0, 0), 2) << "no file";
        EXPECT_EQ(D::nameBox(dialog), data);
        EXPECT_EQ(picker.Directory, data);
        EXPECT_EQ(picker.UNCDirectory, data)
            << "a local path is its own network form until the end";
        EXPECT_TRUE(GetWindowLongA(window, GWL_STYLE) & WS_THICKFRAME) << "sizable";
        char caption[100] = "";
        GetWindowTextA(window, caption, sizeof caption);
        EXPECT_STREQ(caption, "Open");
        EXPECT_FALSE(IsWindowEnabled(ownerWindow));
        EXPECT_FALSE(IsWindowEnabled(other));
        MONITORINFO monitor{};
        monitor.cbSize = sizeof monitor;
        GetMonitorInfoA(MonitorFromWindow(ownerWindow, MONITOR_DEFAULTTOPRIMARY), &monitor);
        RECT box;
        GetWindowRect(window, &box);
        const POINT want =
            dialogOrigin(monitor.rcMonitor, SIZE{box.right - box.left, box.bottom - box.top});
        EXPECT_EQ(box.left, want.x);
        EXPECT_EQ(box.top, want.y);
    }));
    steps.push_back(D::script("cancel")[0]);
    EXPECT_EQ(run(steps), 0);
    EXPECT_EQ(picker.Directory, "");
    EXPECT_EQ(picker.UNCDirectory, "");
    EXPECT_EQ(currentDirectory(), data) << "where the dialog itself left it";
    EXPECT_EQ(events, (std::vector<std::string>{"show", "folder " + data, "close"}));
    for (TImplOpenDirectory* sender : senders) EXPECT_EQ(sender->owner(), &picker);
    EXPECT_TRUE(IsWindowEnabled(ownerWindow));
    EXPECT_TRUE(IsWindowEnabled(other));
    DestroyWindow(other);
}

struct Scenario {
    const char* name;
    const char* script;
    bool noChangeDir;
    int result;
    const char* directory;   // below the tree's folder; "-" for empty
    const char* workingDir;  // the same, checked after an accepted run or with noChangeDir
};

void PrintTo(const Scenario& s, std::ostream* out) {
    *out << s.name;
}

const Scenario kScenarios[] = {
    {"AcceptWithoutClicking", "wait Data accept", false, 1, "\\Data", "\\Data"},
    {"ClickSubThenAccept", "wait Data click Sub accept", false, 1, "\\Data\\Sub", "\\Data\\Sub"},
    {"EmptySpaceKeepsTheClickedFolder", "wait Data click Sub empty pause accept", false, 1,
     "\\Data\\Sub", "\\Data\\Sub"},
    {"DoubleClickOpensTheFolder", "wait Data double Sub wait Data\\Sub accept", false, 1,
     "\\Data\\Sub", "\\Data\\Sub"},
    {"NoChangeDirKeepsTheWorkingDirectory", "wait Data click Sub accept", true, 1, "\\Data\\Sub",
     ""},
    {"EnterNeverAccepts", "wait Data enter pause cancel", false, 0, "-", ""},
    {"SpaceBarNeverAccepts", "wait Data space pause cancel", true, 0, "-", ""},
    {"ReleaseOffTheButtonDoesNotAccept", "wait Data accept-off pause cancel", true, 0, "-", ""},
    {"ClickThenCancelGivesNothing", "wait Data click Sub cancel", true, 0, "-", ""},
};

class PickerScenario : public PickerTest, public ::testing::WithParamInterface<Scenario> {};

TEST_P(PickerScenario, EndsAsTheUserLeftIt) {
    const Scenario& s = GetParam();
    picker.NoChangeDir = s.noChangeDir;
    EXPECT_EQ(run(D::script(s.script, root)), s.result);
    EXPECT_EQ(picker.Directory, std::string(s.directory) == "-" ? "" : root + s.directory);
    EXPECT_EQ(picker.UNCDirectory, "");
    if (s.result == 1 || s.noChangeDir) {
        EXPECT_EQ(currentDirectory(), root + s.workingDir);
    }
}

INSTANTIATE_TEST_SUITE_P(Runs, PickerScenario, ::testing::ValuesIn(kScenarios),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PickerTest, ADriveRootGetsNoSecondBackslash) {
    picker.InitialDir = "C:\\";
    std::vector<D::Step> steps = D::script("wait C:\\ click windows");
    steps.push_back(D::check([](TImplOpenDirectory& dialog) {
        EXPECT_EQ(dialog.owner()->Directory, "C:\\windows");
        EXPECT_EQ(D::nameBox(dialog), "C:\\windows");
    }));
    steps.push_back(D::script("cancel")[0]);
    EXPECT_EQ(run(steps), 0);
}

TEST_F(PickerTest, APlaceWithoutAPathCannotBeAccepted) {
    picker.InitialDir = "C:\\";
    std::vector<D::Step> steps = D::script("wait C:\\ up wait - accept pause");
    steps.push_back(D::check([](TImplOpenDirectory& dialog) {
        EXPECT_EQ(dialog.owner()->Directory, "");
        EXPECT_EQ(D::nameBox(dialog), "");
        EXPECT_FALSE(dialog.accepted());
        EXPECT_NE(GetCapture(), dialog.acceptButton()) << "the button let go of the mouse";
    }));
    steps.push_back(D::script("cancel")[0]);
    EXPECT_EQ(run(steps), 0);
}

TEST_F(PickerTest, ALongPathInTheNameBoxDoesNotLoseTheFolder) {
    // Clicked, its full path fills the name box, which the dialog then adds
    // to the folder it reports: more than its answer can hold.
    const std::string name(120, 'L');
    fs::create_directories(data + "\\" + name);
    ASSERT_EQ(run(D::script(
                  "wait Data click " + name + " double " + name + " wait Data\\" + name + " accept",
                  root)),
              1);
    EXPECT_EQ(picker.Directory, data + "\\" + name);
}

TEST_F(PickerTest, ASecondRunStartsAfreshWhereTheFirstPickWent) {
    recordEvents();
    HWND firstButton = nullptr;
    std::vector<D::Step> steps = D::script("wait Data click Sub", root);
    steps.push_back(D::check([&](TImplOpenDirectory& d) { firstButton = d.acceptButton(); }));
    steps.push_back(D::script("accept")[0]);
    ASSERT_EQ(run(steps), 1);
    picker.InitialDir.clear();
    events.clear();
    steps = {D::check([&](TImplOpenDirectory& dialog) {
                 EXPECT_FALSE(dialog.accepted());
                 EXPECT_NE(dialog.acceptButton(), firstButton);
             }),
             D::script("cancel")[0]};
    EXPECT_EQ(run(steps), 0);
    EXPECT_EQ(events, (std::vector<std::string>{"show", "folder " + sub, "close"}));
}

TEST_F(PickerTest, AMappedDriveGivesBothForms) {
    const std::string drive = data.substr(0, 2);
    picker.setNetworkNameSource([drive] {
        return [drive](const std::string& full) {
            return full.rfind(drive, 0) == 0 ? "\\\\filer\\docs" + full.substr(2) : full;
        };
    });
    ASSERT_EQ(run(D::script("wait Data click Sub accept", root)), 1);
    EXPECT_EQ(picker.Directory, sub);
    EXPECT_EQ(picker.UNCDirectory, "\\\\filer\\docs" + sub.substr(2));
    EXPECT_EQ(currentDirectory(), sub);
}

TEST_F(PickerTest, AFailingHandlerEndsTheDialogAndReachesTheCaller) {
    picker.OnFolderChange = [](TImplOpenDirectory*) { throw Failure("handler failed"); };
    try {
        run({});
        ADD_FAILURE() << "Execute returned";
    } catch (const Failure& failure) {
        EXPECT_EQ(failure.message(), "handler failed");
    }
    EXPECT_EQ(picker.Directory, "");
    EXPECT_TRUE(IsWindowEnabled(ownerWindow));
}

}  // namespace
}  // namespace vantorel
