// Handlers driven with messages, the resources, and the window during a run.
#include "app/win32/WindowFixture.h"

#include <commctrl.h>

#include <cstring>

#include "app/win32/BannerPicture.h"
#include "app/win32/ResourceIds.h"

namespace vantorel::test {
namespace {

using WindowTest = WindowFixture;

TEST_F(WindowTest, ButtonOneRunsTheRealCommandWhichRefusesAnEmptyRequest) {
    makeForm();
    form->core().setDownloadCommand({});
    SendMessageA(form->Button1, BM_CLICK, 0, 0);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0], "You must provide non-empty request.");
    EXPECT_TRUE(IsWindowEnabled(form->Button1));
    EXPECT_TRUE(IsWindowEnabled(form->PatID));
    EXPECT_EQ(form->progressPosition(), 0);
}

TEST_F(WindowTest, TypingInTheSettingsEditsUpdatesTheCurrentSettings) {
    makeForm();
    for (char c : std::string("ann")) SendMessageA(form->LoginEdit, WM_CHAR, c, 1);
    SendMessageA(form->PassEdit, WM_CHAR, 'x', 1);
    EXPECT_EQ(form->core().currentSettings().UserLogin, "ann");
    EXPECT_EQ(form->core().currentSettings().UserPassword, "x");
    EXPECT_EQ(SendMessageA(form->PassEdit, EM_GETPASSWORDCHAR, 0, 0), '*');
    EXPECT_TRUE(GetWindowLongPtrA(form->PathEdit, GWL_STYLE) & ES_READONLY);
}

namespace {
void putOnClipboard(HWND owner, const std::string& text) {
    ASSERT_TRUE(OpenClipboard(owner));
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    std::memcpy(GlobalLock(memory), text.c_str(), text.size() + 1);
    GlobalUnlock(memory);
    SetClipboardData(CF_TEXT, memory);
    CloseClipboard();
}
}  // namespace

TEST_F(WindowTest, PastedLinesAreCutAtTheFirstLineBreak) {
    makeForm();
    putOnClipboard(form->LoginEdit, "ann\r\n[Service]\r\nHost=evil.example:80");
    for (HWND edit : {form->LoginEdit, form->PassEdit}) {
        SendMessageA(edit, WM_PASTE, 0, 0);
        EXPECT_EQ(form->textOf(edit), "ann");
    }
    EXPECT_EQ(form->core().currentSettings().UserLogin, "ann");
    EXPECT_EQ(form->core().currentSettings().UserPassword, "ann");
    // Nor can the program put one there.
    form->core().setEditText(MainFormView::Edit::PathEdit, "C:\\a\nb\\");
    EXPECT_EQ(form->core().currentSettings().PatentPath, "C:\\a");
}

TEST_F(WindowTest, APastedColumnBecomesTheRequestInThePatentField) {
    makeForm();
    const struct {
        const char* field;
        int selectionStart, selectionEnd;
        const char* pasted;
        const char* shown;
    } cases[] = {
        {"", 0, 0, "US6892391\r\nEP1534056\r\n", "US6892391;EP1534056"},
        {"JP2001001", 9, 9, "US6892391\tEP1534056\n\n", "JP2001001;US6892391;EP1534056"},
        {"US1;XX;US2", 4, 6, "EP3\nEP4", "US1;EP3;EP4;US2"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pasted);
        SetWindowTextA(form->PatID, c.field);
        SendMessageA(form->PatID, EM_SETSEL, c.selectionStart, c.selectionEnd);
        putOnClipboard(form->PatID, c.pasted);
        SendMessageA(form->PatID, WM_PASTE, 0, 0);
        EXPECT_EQ(form->textOf(form->PatID), c.shown);
        EXPECT_EQ(form->core().requestText(), c.shown);
    }
    // A column of 200 lines, as a spreadsheet copies it, is the whole request.
    std::string column, request;
    for (int i = 0; i < 200; ++i) {
        column += "US" + std::to_string(6892000 + i) + "\r\n";
        request += (i ? ";US" : "US") + std::to_string(6892000 + i);
    }
    SetWindowTextA(form->PatID, "");
    putOnClipboard(form->PatID, column);
    SendMessageA(form->PatID, WM_PASTE, 0, 0);
    EXPECT_EQ(form->core().requestText(), request);
}

TEST_F(WindowTest, RadioGroupIndexIsClampedAndClicksSelect) {
    makeForm();
    form->setViewingPreference(7);
    EXPECT_EQ(form->viewingPreference(), 2);
    form->setViewingPreference(-5);
    EXPECT_EQ(form->viewingPreference(), -1);
    SendMessageA(form->RadioChoices[1], BM_CLICK, 0, 0);
    EXPECT_EQ(form->viewingPreference(), 1);
}

TEST_F(WindowTest, ABannerClickAnywhereInThePictureOpensTheHomePage) {
    makeForm();
    // Beyond the bitmap's 285 x 73 pixels, still inside the picture.
    const LPARAM at = MAKELPARAM(287, 79);
    SendMessageA(form->Image1, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(form->Image1, WM_LBUTTONUP, 0, at);
    ASSERT_EQ(dialogs.opened.size(), 1u);
    EXPECT_EQ(dialogs.opened[0], MainFormCore::kHomePage);

    SendMessageA(form->Image1, WM_SETCURSOR, reinterpret_cast<WPARAM>(form->Image1),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_HAND)));
    SendMessageA(form->Panel1, WM_SETCURSOR, reinterpret_cast<WPARAM>(form->Panel1),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW)));
}

TEST_F(WindowTest, TheListShowsRowsAndItsSelection) {
    makeForm();
    form->addRow("US6892391", "C:\\p\\US6892391.pdf", "1/2/2024 10:00:00");
    form->addRow("EP1534056", "C:\\p\\EP1534056.pdf", "1/2/2024");
    EXPECT_EQ(form->rowCount(), 2);
    EXPECT_EQ(form->selectedRow(), -1);
    LVITEMA item{};
    item.stateMask = item.state = LVIS_SELECTED;
    SendMessageA(form->PatentsList, LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(form->selectedRow(), 1);
    EXPECT_EQ(form->selectedCaption(), "EP1534056");
    // A double-click views the selected row, as View does.
    NMITEMACTIVATE click{};
    click.hdr = {form->PatentsList, static_cast<UINT_PTR>(GetDlgCtrlID(form->PatentsList)),
                 static_cast<UINT>(NM_DBLCLK)};
    click.iItem = 1;
    SendMessageA(form->TabSheet2, WM_NOTIFY, click.hdr.idFrom, reinterpret_cast<LPARAM>(&click));
    ASSERT_EQ(dialogs.opened.size(), 1u);
    EXPECT_EQ(dialogs.opened[0], form->core().currentSettings().PatentPath + "EP1534056.pdf");
    const auto style = SendMessageA(form->PatentsList, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0);
    EXPECT_TRUE(style & LVS_EX_FULLROWSELECT);
    EXPECT_TRUE(style & LVS_EX_GRIDLINES);
    form->clearRows();
    EXPECT_EQ(form->rowCount(), 0);
}

TEST_F(WindowTest, DuringARunTheWindowPumpsAndAsecondRunCannotStart) {
    makeForm();
    int runs = 0;
    bool labelGreyed = false;
    form->core().setDownloadCommand([&] {
        ++runs;
        form->core().setCommandEnabled(false);
        labelGreyed = !IsWindowEnabled(form->PatIDLabel);
        // A click on the button and Enter: neither starts a second run.
        PostMessageA(form->Button1, BM_CLICK, 0, 0);
        PostMessageA(form->handle(), WM_CLOSE, 0, 0);
        form->processEvents();
        form->core().Button1Click();
        EXPECT_TRUE(IsWindow(form->handle())) << "closed during the run";
        form->core().setCommandEnabled(true);
    });
    SendMessageA(form->Button1, BM_CLICK, 0, 0);
    EXPECT_EQ(runs, 1);
    EXPECT_TRUE(labelGreyed);
    // The close that arrived during the run takes effect once it has ended.
    pump();
    EXPECT_EQ(form->handle(), nullptr);
}

}  // namespace
}  // namespace vantorel::test
