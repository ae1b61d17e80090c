// The picker's real dialog, opened in this process and driven with messages.
#include <windows.h>

#include <commctrl.h>
#include <commdlg.h>
#include <dlgs.h>

#include "PickerFixture.h"
#include "app/win32/picker/PickerRules.h"
#include "platform/Failure.h"
#include "platform/Paths.h"

namespace vantorel {
namespace {

using D = DialogDriver;
constexpr WORD kUpOneLevel = 0xA001;  // the dialog's toolbar command

bool visible(HWND dialog, int id) {
    HWND control = GetDlgItem(dialog, id);
    return control && IsWindowVisible(control);
}

class PickerDialog : public PickerFixture {};

TEST_F(PickerDialog, OpensCutDownToFoldersAndCancelLeavesNothing) {
    recordEvents();
    HWND other = CreateWindowExA(0, "STATIC", "Other window", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 60,
                                 60, 200, 100, nullptr, nullptr, nullptr, nullptr);
    const int result = run({
        D::waitForFolder(data),
        D::check([&](TImplOpenDirectory& dialog) {
            HWND window = dialog.dialogWindow();
            EXPECT_FALSE(visible(window, cmb1)) << "file-type selector";
            EXPECT_FALSE(visible(window, stc2)) << "its label";
            EXPECT_TRUE(visible(window, cmb2)) << "the folder selector stays";
            EXPECT_EQ(SendMessageA(dialog.folderList(), LVM_GETITEMCOUNT, 0, 0), 2)
                << "Sub and Other, not the file";
            EXPECT_EQ(D::nameBox(dialog), data);
            EXPECT_EQ(picker.Directory, data);
            // A local folder's network form is the path itself until the end.
            EXPECT_EQ(picker.UNCDirectory, data);
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
        }),
        D::command(IDCANCEL),
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(picker.Directory, "");
    EXPECT_EQ(picker.UNCDirectory, "");
    // Where the dialog itself left it, at the folder it showed.
    EXPECT_EQ(currentDirectory(), data);
    EXPECT_EQ(events, (std::vector<std::string>{"show", "folder " + data, "close"}));
    ASSERT_EQ(senders.size(), 3u);
    for (TImplOpenDirectory* sender : senders) {
        EXPECT_EQ(sender, senders.front());
        EXPECT_EQ(sender->owner(), &picker);
    }
    EXPECT_TRUE(IsWindowEnabled(ownerWindow));
    EXPECT_TRUE(IsWindowEnabled(other));
    DestroyWindow(other);
}

struct Scenario {
    const char* name;
    bool noChangeDir;
    std::vector<D::Step> (*steps)(const std::string& data, const std::string& sub);
    int result;
    const char* directory;   // below root; "-" for empty
    const char* workingDir;  // below root; "" is root itself
};

const Scenario kScenarios[] = {
    {"AcceptWithoutClicking", false,
     [](const std::string& data, [[maybe_unused]] const std::string& sub) {
         return std::vector<D::Step>{D::waitForFolder(data), D::clickAccept()};
     },
     1, "\\Data", "\\Data"},
    {"ClickSubThenAccept", false,
     [](const std::string& data, [[maybe_unused]] const std::string& sub) {
         return std::vector<D::Step>{D::waitForFolder(data), D::clickItem("Sub"), D::clickAccept()};
     },
     1, "\\Data\\Sub", "\\Data\\Sub"},
    {"ClickOnEmptySpaceKeepsTheClickedFolder", false,
     [](const std::string& data, [[maybe_unused]] const std::string& sub) {
         return std::vector<D::Step>{D::waitForFolder(data), D::clickItem("Sub"),
                                     D::clickEmptySpace(),
                                     D::check([sub](TImplOpenDirectory& dialog) {
                                         EXPECT_EQ(dialog.owner()->Directory, sub);
                                         EXPECT_EQ(D::nameBox(dialog), sub);
                                     }),
                                     D::clickAccept()};
     },
     1, "\\Data\\Sub", "\\Data\\Sub"},
    {"DoubleClickOpensTheFolder", false,
     [](const std::string& data, [[maybe_unused]] const std::string& sub) {
         return std::vector<D::Step>{D::waitForFolder(data), D::doubleClickItem("Sub"),
                                     D::waitForFolder(sub), D::clickAccept()};
     },
     1, "\\Data\\Sub", "\\Data\\Sub"},
    {"NoChangeDirKeepsTheWorkingDirectory", true,
     [](const std::string& data, [[maybe_unused]] const std::string& sub) {
         return std::vector<D::Step>{D::waitForFolder(data), D::clickItem("Sub"), D::clickAccept()};
     },
     1, "\\Data\\Sub", ""},
    {"EnterNeverAccepts", false,
     [](const std::string& data, [[maybe_unused]] const std::string& sub) {
         return std::vector<D::Step>{D::waitForFolder(data), D::pressKey(VK_RETURN), D::pause(300),
                                     D::command(IDCANCEL)};
     },
     0, "-", "\\Data"},
    {"SpaceBarNeverAccepts", true,
     [](const std::string& data, [[maybe_unused]] const std::string& sub) {
         return std::vector<D::Step>{D::waitForFolder(data), D::pressKey(VK_SPACE), D::pause(300),
                                     D::command(IDCANCEL)};
     },
     0, "-", ""},
    {"ReleaseOffTheButtonDoesNotAccept", false,
     [](const std::string& data, [[maybe_unused]] const std::string& sub) {
         return std::vector<D::Step>{D::waitForFolder(data), D::pressAcceptAndReleaseOffIt(),
                                     D::pause(300), D::command(IDCANCEL)};
     },
     0, "-", "\\Data"},
    {"ClickedFolderThenCancelGivesNothing", false,
     [](const std::string& data, [[maybe_unused]] const std::string& sub) {
         return std::vector<D::Step>{D::waitForFolder(data), D::clickItem("Sub"),
                                     D::command(IDCANCEL)};
     },
     0, "-", "\\Data"},
};

class PickerScenario : public PickerFixture, public ::testing::WithParamInterface<Scenario> {};

TEST_P(PickerScenario, EndsAsTheUserLeftIt) {
    const Scenario& s = GetParam();
    picker.NoChangeDir = s.noChangeDir;
    const int result = run(s.steps(data, sub));
    EXPECT_EQ(result, s.result);
    EXPECT_EQ(picker.Directory, std::string(s.directory) == "-" ? "" : root + s.directory);
    EXPECT_EQ(picker.UNCDirectory, "");
    // Cancelled runs leave the directory where the dialog left it.
    if (s.result == 1 || s.noChangeDir) {
        EXPECT_EQ(currentDirectory(), root + s.workingDir);
    }
}

INSTANTIATE_TEST_SUITE_P(Runs, PickerScenario, ::testing::ValuesIn(kScenarios),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PickerDialog, ADriveRootGetsNoSecondBackslash) {
    picker.InitialDir = "C:\\";
    const int result = run({D::waitForFolder("C:\\"), D::clickItem("windows"),
                            D::check([](TImplOpenDirectory& dialog) {
                                EXPECT_EQ(dialog.owner()->Directory, "C:\\windows");
                                EXPECT_EQ(D::nameBox(dialog), "C:\\windows");
                            }),
                            D::command(IDCANCEL)});
    EXPECT_EQ(result, 0);
}

TEST_F(PickerDialog, APlaceWithoutAPathCannotBeAccepted) {
    picker.InitialDir = "C:\\";
    const int result = run({
        D::waitForFolder("C:\\"),
        D::command(kUpOneLevel),
        D::waitUntil([](TImplOpenDirectory& dialog) { return dialog.currentFolder().empty(); }),
        D::check([](TImplOpenDirectory& dialog) {
            EXPECT_EQ(dialog.owner()->Directory, "");
            EXPECT_EQ(D::nameBox(dialog), "");
        }),
        D::clickAccept(),
        D::pause(300),
        D::check([](TImplOpenDirectory& dialog) {
            EXPECT_TRUE(IsWindow(dialog.dialogWindow())) << "the dialog stays open";
            EXPECT_FALSE(dialog.accepted());
            EXPECT_NE(GetCapture(), dialog.acceptButton()) << "the button let go of the mouse";
        }),
        D::command(IDCANCEL),
    });
    EXPECT_EQ(result, 0);
}

TEST_F(PickerDialog, TitleAndSizingAsSet) {
    picker.Title = "Patent folder";
    picker.EnableSizing = false;
    run({D::check([](TImplOpenDirectory& dialog) {
             char caption[100] = "";
             GetWindowTextA(dialog.dialogWindow(), caption, sizeof caption);
             EXPECT_STREQ(caption, "Patent folder");
             EXPECT_FALSE(GetWindowLongA(dialog.dialogWindow(), GWL_STYLE) & WS_THICKFRAME);
         }),
         D::command(IDCANCEL)});
}

TEST_F(PickerDialog, ASecondRunStartsAfresh) {
    recordEvents();
    HWND firstButton = nullptr;
    ASSERT_EQ(run({D::waitForFolder(data), D::clickItem("Sub"),
                   D::check([&](TImplOpenDirectory& d) { firstButton = d.acceptButton(); }),
                   D::clickAccept()}),
              1);
    // The second run opens where the first pick moved the working directory.
    picker.InitialDir.clear();
    events.clear();
    EXPECT_EQ(run({D::waitForFolder(sub), D::check([&](TImplOpenDirectory& dialog) {
                       EXPECT_FALSE(dialog.accepted());
                       EXPECT_NE(dialog.acceptButton(), nullptr);
                       EXPECT_NE(dialog.acceptButton(), firstButton);
                   }),
                   D::command(IDCANCEL)}),
              0);
    EXPECT_EQ(events, (std::vector<std::string>{"show", "folder " + sub, "close"}));
    EXPECT_EQ(picker.Directory, "");
}

TEST_F(PickerDialog, AMappedDriveGivesBothForms) {
    const std::string drive = data.substr(0, 2);
    picker.setNetworkNameSource([drive] {
        return [drive](const std::string& full) {
            return full.rfind(drive, 0) == 0 ? "\\\\filer\\docs" + full.substr(2) : full;
        };
    });
    ASSERT_EQ(run({D::waitForFolder(data), D::clickItem("Sub"), D::clickAccept()}), 1);
    EXPECT_EQ(picker.Directory, sub);
    EXPECT_EQ(picker.UNCDirectory, "\\\\filer\\docs" + sub.substr(2));
    EXPECT_EQ(currentDirectory(), sub);
}

TEST_F(PickerDialog, AFailingHandlerEndsTheDialogAndReachesTheCaller) {
    picker.OnFolderChange = [](TImplOpenDirectory*) { throw Failure("handler failed"); };
    bool timedOut = false;
    try {
        DialogDriver::run(picker, {}, timedOut);
        ADD_FAILURE() << "Execute returned";
    } catch (const Failure& failure) {
        EXPECT_EQ(failure.message(), "handler failed");
    }
    EXPECT_FALSE(timedOut);
    EXPECT_EQ(picker.Directory, "");
    EXPECT_TRUE(IsWindowEnabled(ownerWindow));
}

}  // namespace
}  // namespace vantorel
