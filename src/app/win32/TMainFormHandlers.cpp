// TMainForm's events, forwarded to the core, and what it shows for the core.
#include <windows.h>
// after windows.h, which it needs
#include <commctrl.h>

#include <algorithm>

#include "app/win32/TMainForm.h"
#include "app/win32/picker/TOpenDirectory.h"
#include "platform/Failure.h"
#include "platform/TextRules.h"

namespace vantorel {

LRESULT CALLBACK TMainForm::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* form = reinterpret_cast<TMainForm*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!form || form->window_ != window) return DefWindowProcA(window, message, wParam, lParam);
    return form->handleMessage(message, wParam, lParam);
}

LRESULT TMainForm::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            if (lParam && core_) onCommand(reinterpret_cast<HWND>(lParam), HIWORD(wParam));
            return 0;
        case WM_NOTIFY:
            return onNotify(*reinterpret_cast<const NMHDR*>(lParam));
        case WM_TIMER:
            if (wParam == kTimer1 && core_) core_->Timer1Timer();
            return 0;
        case WM_ACTIVATE:
            // Minimised, nothing inside can take the focus.
            if (!HIWORD(wParam)) onActivate(LOWORD(wParam) != WA_INACTIVE);
            return 0;
        case WM_CLOSE:
            onClose();
            return 0;
        case WM_DESTROY:
            KillTimer(window_, kTimer1);
            if (options_.quitOnDestroy) PostQuitMessage(0);
            window_ = nullptr;
            return 0;
        default:
            return DefWindowProcA(window_, message, wParam, lParam);
    }
}

void TMainForm::onCommand(HWND control, int code) {
    MainFormCore& core = *core_;
    // STN_CLICKED and BN_CLICKED share one code.
    if (code == STN_CLICKED && control == Image1) {
        core.Image1Click();
    } else if (code == BN_CLICKED) {
        if (control == Button1)
            core.Button1Click();
        else if (control == Button2)
            core.Button2Click();
        else if (control == Button3)
            core.Button3Click();
        else if (control == Button4)
            core.Button4Click();
        else if (control == Button5)
            core.Button5Click();
        else if (std::count(std::begin(RadioChoices), std::end(RadioChoices), control))
            updateRadioTabStops();
    } else if (code == EN_CHANGE && !settingText_) {
        // A single-line field never holds a line break (it would end up as a
        // line of its own in the Settings file): pasted text is cut at the
        // first one, and the cut reports the change.
        if (cutAtLineBreak(control)) return;
        // What the user types; setEditText reports nothing back.
        if (control == LoginEdit)
            core.LoginEditChange();
        else if (control == PassEdit)
            core.PassEditChange();
        else if (control == PathEdit)
            core.PathEditChange();
    }
}

LRESULT TMainForm::onNotify(const NMHDR& header) {
    if (header.hwndFrom == PageControl1 && header.code == TCN_SELCHANGE) {
        showPage(activeTab());
    } else if (header.hwndFrom == PatentsList && header.code == NM_DBLCLK && core_) {
        core_->PatentsListDblClick();
    }
    return 0;
}

void TMainForm::onActivate(bool active) {
    // After a box or another program, the control that had the focus gets it
    // back, not the window itself.
    if (!active) {
        HWND focus = GetFocus();
        if (focus && IsChild(window_, focus)) focusBeforeDeactivate_ = focus;
        return;
    }
    HWND focus = focusBeforeDeactivate_;
    if (!focus || !IsWindow(focus) || !IsWindowVisible(focus) || !IsWindowEnabled(focus))
        focus = PageControl1;
    SetFocus(focus);
}

void TMainForm::onClose() {
    // A run in progress is not interrupted: the core closes the window when it ends.
    if (core_ && !core_->closeRequested()) return;
    DestroyWindow(window_);
}

// Posted: the run that ends here is still on the stack.
void TMainForm::closeWindow() {
    if (window_) PostMessageA(window_, WM_CLOSE, 0, 0);
}

HWND TMainForm::editWindow(Edit edit) const {
    return this->control(nameOf(edit));
}

std::string TMainForm::textOf(HWND control) {
    const int length = GetWindowTextLengthA(control);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const int copied = GetWindowTextA(control, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(std::max(0, copied)));
    return text;
}

void TMainForm::setEditText(Edit edit, const std::string& text) {
    settingText_ = true;
    SetWindowTextA(editWindow(edit), firstLine(text).c_str());
    settingText_ = false;
}

bool TMainForm::cutAtLineBreak(HWND edit) {
    const std::string text = textOf(edit);
    if (!holdsLineBreak(text)) return false;
    const std::string kept = firstLine(text);
    SetWindowTextA(edit, kept.c_str());
    SendMessageA(edit, EM_SETSEL, kept.size(), kept.size());
    return true;
}

void TMainForm::setControlEnabled(Control control, bool enabled) {
    HWND window = this->control(nameOf(control));
    if (!enabled && GetFocus() == window && window != PageControl1) {
        // A disabled control loses the focus: keep the keyboard on the tab
        // strip and give the focus back when the run ends.
        focusBeforeRun_ = window;
        SetFocus(PageControl1);
    }
    EnableWindow(window, enabled);
    if (window == PatID) EnableWindow(PatIDLabel, enabled);  // the label greys with its edit
    if (enabled && window == focusBeforeRun_) {
        if (GetFocus() == PageControl1 && activeTab() == 0) SetFocus(window);
        focusBeforeRun_ = nullptr;
    }
}

void TMainForm::setProgressPosition(int position) {
    SendMessageA(ProgressBar1, PBM_SETPOS, std::clamp(position, 0, 100), 0);
}

int TMainForm::progressPosition() const {
    return static_cast<int>(SendMessageA(ProgressBar1, PBM_GETPOS, 0, 0));
}

void TMainForm::clearRows() {
    SendMessageA(PatentsList, LVM_DELETEALLITEMS, 0, 0);
}

void TMainForm::addRow(const std::string& caption, const std::string& filePath,
                       const std::string& dateText) {
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = rowCount();
    item.pszText = const_cast<char*>(caption.c_str());
    const auto row = static_cast<int>(
        SendMessageA(PatentsList, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    const std::string* texts[] = {&filePath, &dateText};
    for (int column = 1; column <= 2; ++column) {
        LVITEMA cell{};
        cell.iSubItem = column;
        cell.pszText = const_cast<char*>(texts[column - 1]->c_str());
        SendMessageA(PatentsList, LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&cell));
    }
}

int TMainForm::rowCount() const {
    return static_cast<int>(SendMessageA(PatentsList, LVM_GETITEMCOUNT, 0, 0));
}

int TMainForm::selectedRow() const {
    return static_cast<int>(SendMessageA(PatentsList, LVM_GETNEXTITEM, -1, LVNI_SELECTED));
}

std::string TMainForm::selectedCaption() const {
    const int row = selectedRow();
    if (row < 0) return {};
    char buffer[MAX_PATH + 1] = {};
    LVITEMA item{};
    item.iSubItem = 0;
    item.pszText = buffer;
    item.cchTextMax = sizeof buffer;
    SendMessageA(PatentsList, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
    return buffer;
}

int TMainForm::viewingPreference() const {
    for (int i = 0; i < 3; ++i)
        if (SendMessageA(RadioChoices[i], BM_GETCHECK, 0, 0) == BST_CHECKED) return i;
    return -1;
}

void TMainForm::setViewingPreference(int index) {
    index = std::clamp(index, -1, 2);
    for (int i = 0; i < 3; ++i)
        SendMessageA(RadioChoices[i], BM_SETCHECK, i == index ? BST_CHECKED : BST_UNCHECKED, 0);
    updateRadioTabStops();
}

void TMainForm::updateRadioTabStops() {
    // The group is one tab stop: its selected choice, or the first when none is.
    const int selected = std::max(0, viewingPreference());
    for (int i = 0; i < 3; ++i) {
        const LONG_PTR style = GetWindowLongPtrA(RadioChoices[i], GWL_STYLE);
        SetWindowLongPtrA(RadioChoices[i], GWL_STYLE,
                          i == selected ? style | WS_TABSTOP : style & ~WS_TABSTOP);
    }
}

std::optional<std::string> TMainForm::runFolderPicker() {
    if (OpenDirectory1->Execute() != 1) return std::nullopt;
    return OpenDirectory1->Directory;
}

void TMainForm::setTimer1Enabled(bool enabled) {
    if (!enabled) {
        KillTimer(window_, kTimer1);
        return;
    }
    if (!SetTimer(window_, kTimer1, 1000, nullptr)) throw Failure("Not enough timers available");
}

}  // namespace vantorel
