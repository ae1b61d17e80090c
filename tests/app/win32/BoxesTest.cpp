// The three boxes: the program's own message box and the two standard ones.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "app/win32/MessageWindow.h"
#include "app/win32/Win32Dialogs.h"

namespace vantorel {
namespace {

HFONT testFont() {
    return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

RECT rectOf(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

TEST(MessageWindowTest, TextWrapsAtHalfTheScreenAndTheBoxIsCentred) {
    const std::string longText(400, 'w');
    const int half = GetSystemMetrics(SM_CXSCREEN) / 2;
    MessageWindow wide(nullptr, std::string(60, 'x') + " " + longText, testFont(), 1.0);
    const RECT text = rectOf(wide.textControl());
    EXPECT_LE(text.right - text.left, half);
    EXPECT_GT(text.bottom - text.top, 13) << "wrapped onto several lines";

    MessageWindow narrow(nullptr, "Hi\n\rthere", testFont(), 1.0);
    const RECT small = rectOf(narrow.textControl());
    EXPECT_LT(small.right - small.left, 100) << "only as wide as the text needs";
    const RECT box = rectOf(narrow.handle());
    EXPECT_EQ(box.left, (GetSystemMetrics(SM_CXSCREEN) - (box.right - box.left)) / 2);
    EXPECT_EQ(box.top, (GetSystemMetrics(SM_CYSCREEN) - (box.bottom - box.top)) / 2);
    EXPECT_GT(MessageWindow::titleWidth(), 100);
    EXPECT_GE(box.right - box.left, MessageWindow::titleWidth()) << "the whole title shows";

    char title[64] = {};
    GetWindowTextA(narrow.handle(), title, sizeof title);
    EXPECT_STREQ(title, "Vantorel Patent Downloader");
    char ok[8] = {};
    GetWindowTextA(narrow.okButton(), ok, sizeof ok);
    EXPECT_STREQ(ok, "OK");
    EXPECT_EQ(GetWindowLongPtrA(narrow.textControl(), GWL_STYLE) & SS_TYPEMASK, SS_LEFT);
}

TEST(MessageWindowTest, EnterAndEscCloseTheBoxOtherKeysDoNot) {
    for (WPARAM key : {WPARAM{VK_RETURN}, WPARAM{VK_ESCAPE}, WPARAM{'A'}}) {
        MessageWindow box(nullptr, "Text", testFont(), 1.0);
        MSG message{box.okButton(), WM_KEYDOWN, key, 1, 0, {}};
        EXPECT_EQ(box.handleKey(message), key != 'A');
        EXPECT_EQ(box.done(), key != 'A');
    }
}

// Answers the next standard box from inside its own loop and records it.
struct BoxSeen {
    std::string title;
    std::string text;
    bool hasIcon = false;
    bool hasYesNo = false;
};
BoxSeen seen;
int answer = IDYES;

void CALLBACK answerBox(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND box = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM found) -> BOOL {
            char name[16] = {};
            GetClassNameA(window, name, sizeof name);
            if (std::string(name) != "#32770" || !IsWindowVisible(window)) return TRUE;
            *reinterpret_cast<HWND*>(found) = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&box));
    if (!box) return;
    KillTimer(nullptr, timer);
    char text[512] = {};
    GetWindowTextA(box, text, sizeof text);
    seen.title = text;
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
    seen.text = text;
    // The icon's control: 0x14 on Windows, 0x440 under Wine; empty without an icon.
    for (int id : {0x14, 0x440})
        if (HWND icon = GetDlgItem(box, id))
            seen.hasIcon = seen.hasIcon || SendMessageA(icon, STM_GETICON, 0, 0) != 0;
    seen.hasYesNo = GetDlgItem(box, IDYES) && GetDlgItem(box, IDNO);
    PostMessageA(box, WM_COMMAND, answer, 0);
}

BoxSeen runWithAnswer(int reply, const std::function<void()>& show) {
    seen = {};
    answer = reply;
    SetTimer(nullptr, 0, 50, answerBox);
    show();
    return seen;
}

TEST(StandardBoxesTest, QuestionBoxIsYesNoWithoutIconAndOnlyYesSaysYes) {
    Win32Dialogs dialogs;
    bool result = false;
    BoxSeen box = runWithAnswer(IDYES, [&] {
        result = dialogs.askYesNo("File will be deleted permanently.\n\rAre you sure?", "Warning");
    });
    EXPECT_TRUE(result);
    EXPECT_EQ(box.title, "Warning");
    EXPECT_EQ(box.text, "File will be deleted permanently.\r\nAre you sure?");
    EXPECT_TRUE(box.hasYesNo);
    EXPECT_FALSE(box.hasIcon);
    runWithAnswer(IDNO, [&] { result = dialogs.askYesNo("Again?", "Warning"); });
    EXPECT_FALSE(result);
}

TEST(StandardBoxesTest, ErrorBoxHasTheStopIconTheTitleAndTheFullStopRule) {
    Win32Dialogs dialogs;
    BoxSeen box =
        runWithAnswer(IDOK, [&] { dialogs.showError("'abc' is not a valid integer value"); });
    EXPECT_EQ(box.title, "Vantorel Patent Downloader");
    EXPECT_EQ(box.text, "'abc' is not a valid integer value.");
    EXPECT_TRUE(box.hasIcon);
    box = runWithAnswer(IDOK, [&] { dialogs.showError("Done!"); });
    EXPECT_EQ(box.text, "Done!");
}

}  // namespace
}  // namespace vantorel
