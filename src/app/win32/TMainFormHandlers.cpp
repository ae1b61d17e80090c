// TMainForm's handlers, its start-up sequence and what it offers the core.
#include <windows.h>
// after windows.h, which it needs
#include <commctrl.h>

#include <algorithm>
#include <exception>

#include "TMainForm.h"
#include "app/UserDialogs.h"
#include "browser/BrowserEntry.h"
#include "browser/BrowserHook.h"
#include "browser/SchemeAddress.h"
#include "platform/Failure.h"
#include "platform/Paths.h"
#include "platform/RegistryKey.h"
#include "settings/SettingsStore.h"

namespace vantorel {

// A failure that escapes a handler ends it and goes to the error box; the
// window goes on with its next message.
template <class Handler>
void TMainForm::guarded(Handler handler) {
    try {
        (this->*handler)();
    } catch (const std::exception& failure) {
        reportFailure(failure.what());
    }
}

void TMainForm::reportFailure(const std::string& message) {
    dialogs_.showError(message);
}

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
            if (lParam) onCommand(reinterpret_cast<HWND>(lParam), HIWORD(wParam));
            return 0;
        case WM_NOTIFY:
            return onNotify(*reinterpret_cast<const NMHDR*>(lParam));
        case WM_TIMER:
            if (wParam == kTimer1) guarded(&TMainForm::Timer1Timer);
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
    if (code == BN_CLICKED) {
        if (control == Button1)
            guarded(&TMainForm::Button1Click);
        else if (control == Button2)
            guarded(&TMainForm::Button2Click);
        else if (control == Button3)
            guarded(&TMainForm::Button3Click);
        else if (control == Button4)
            guarded(&TMainForm::Button4Click);
        else if (control == Button5)
            guarded(&TMainForm::Button5Click);
        else if (std::count(std::begin(RadioChoices), std::end(RadioChoices), control))
            updateRadioTabStops();
    } else if (code == STN_CLICKED && control == Image1) {
        guarded(&TMainForm::Image1Click);
    } else if (code == EN_CHANGE && !settingText_) {
        // Typing changes the text; setText runs the handler itself.
        if (control == LoginEdit)
            guarded(&TMainForm::LoginEditChange);
        else if (control == PassEdit)
            guarded(&TMainForm::PassEditChange);
        else if (control == PathEdit)
            guarded(&TMainForm::PathEditChange);
    }
}

LRESULT TMainForm::onNotify(const NMHDR& header) {
    if (header.hwndFrom == PageControl1 && header.code == TCN_SELCHANGE) {
        showPage(activeTab());
    } else if (header.hwndFrom == PatentsList && header.code == NM_DBLCLK) {
        guarded(&TMainForm::PatentsListDblClick);
    }
    return 0;
}

void TMainForm::onClose() {
    // A run in progress is not interrupted: the window goes when it ends.
    if (running_) {
        closeRequested_ = true;
        return;
    }
    DestroyWindow(window_);
}

void TMainForm::FormCreate() {
    try {
        current_.UserLogin = textOf(LoginEdit);
        current_.UserPassword = textOf(PassEdit);
        current_.PatentPath = textOf(PathEdit);
        selectTab(0);
        if (!SetTimer(window_, kTimer1, 1000, nullptr))
            throw Failure("Not enough timers available");
        {
            RegistryKey programKey;
            if (programKey.openOrCreate(kProgramRegistryKey)) {
                current_.InstallPath = SettingsStore::readInstallFolder(programKey);
                programKey.close();
                BrowserEntry::registerMenuEntry(current_.InstallPath);
            }
        }
        SettingsStore(current_.InstallPath).load(*this);
        RescanPatents();
    } catch (const std::exception& failure) {
        // The remaining steps are skipped; the window opens all the same.
        reportFailure(failure.what());
    }
}

void TMainForm::Timer1Timer() {
    // A run started by hand before the first tick: try again at the next one.
    if (running_) return;
    KillTimer(window_, kTimer1);
    if (options_.commandLineRequest.empty()) return;
    const auto request = SchemeAddress::requestFromArgument(options_.commandLineRequest);
    if (!request) {
        dialogs_.showMessage(SchemeAddress::refusedMessage(options_.commandLineRequest));
        return;
    }
    if (request->empty()) return;
    setText(PatID, *request);
    Button1Click();
}

void TMainForm::Button1Click() {
    runDownloadCommand();
}

void TMainForm::runDownloadCommand() {
    if (running_) return;
    running_ = true;
    try {
        if (downloadCommand_) {
            downloadCommand_();
        } else {
            command_.run();
        }
    } catch (...) {
        running_ = false;
        if (closeRequested_) DestroyWindow(window_);
        throw;
    }
    running_ = false;
    if (closeRequested_) DestroyWindow(window_);
}

void TMainForm::HTTPClientWork(WorkMode, std::int64_t count) {
    command_.onWork(count);
}

std::string TMainForm::serviceHost() const {
    return SettingsStore(current_.InstallPath).serviceHost();
}

void TMainForm::setCommandEnabled(bool enabled) {
    HWND focus = GetFocus();
    if (!enabled && (focus == PatID || focus == Button1)) {
        // A disabled control loses the focus; keep the keyboard on the tab strip
        // and give the focus back when the run ends.
        focusBeforeRun_ = focus;
        SetFocus(PageControl1);
    }
    EnableWindow(Button1, enabled);
    EnableWindow(PatID, enabled);
    EnableWindow(PatIDLabel, enabled);  // the label greys with its edit
    if (!enabled) return;
    EnableWindow(PageControl1, TRUE);
    if (focusBeforeRun_ && GetFocus() == PageControl1 && activeTab() == 0)
        SetFocus(focusBeforeRun_);
    focusBeforeRun_ = nullptr;
}

void TMainForm::showMessage(const std::string& text) {
    dialogs_.showMessage(text);
}

void TMainForm::Button2Click() {
    PatentFolder::viewSelected(*this, current_.PatentPath);
}

void TMainForm::PatentsListDblClick() {
    PatentFolder::viewSelected(*this, current_.PatentPath);
}

void TMainForm::Button3Click() {
    PatentFolder::deleteSelected(*this, current_.PatentPath);
}

void TMainForm::Button4Click() {
    // The folder picker is wired in when it exists on this platform.
}

void TMainForm::Button5Click() {
    SettingsStore(current_.InstallPath).save(*this, current_);
}

void TMainForm::LoginEditChange() {
    current_.UserLogin = textOf(LoginEdit);
}
void TMainForm::PassEditChange() {
    current_.UserPassword = textOf(PassEdit);
}
void TMainForm::PathEditChange() {
    current_.PatentPath = textOf(PathEdit);
}

void TMainForm::Image1Click() {
    dialogs_.openDocument(kHomePage);
}

void TMainForm::RescanPatents() {
    SendMessageA(PatentsList, LVM_DELETEALLITEMS, 0, 0);
    int index = 0;
    for (const PatentRow& row : PatentFolder::scan(current_.PatentPath)) {
        LVITEMA item{};
        item.mask = LVIF_TEXT;
        item.iItem = index++;
        item.pszText = const_cast<char*>(row.caption.c_str());
        const auto at = static_cast<int>(
            SendMessageA(PatentsList, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
        const std::string* texts[] = {&row.filePath, &row.dateText};
        for (int column = 1; column <= 2; ++column) {
            LVITEMA cell{};
            cell.iSubItem = column;
            cell.pszText = const_cast<char*>(texts[column - 1]->c_str());
            SendMessageA(PatentsList, LVM_SETITEMTEXTA, at, reinterpret_cast<LPARAM>(&cell));
        }
    }
}

int TMainForm::rowCount() const {
    return static_cast<int>(SendMessageA(PatentsList, LVM_GETITEMCOUNT, 0, 0));
}

void TMainForm::setProgressPosition(int position) {
    SendMessageA(ProgressBar1, PBM_SETPOS, std::clamp(position, 0, 100), 0);
}

int TMainForm::progressPosition() const {
    return static_cast<int>(SendMessageA(ProgressBar1, PBM_GETPOS, 0, 0));
}

std::string TMainForm::textOf(HWND control) {
    const int length = GetWindowTextLengthA(control);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const int copied = GetWindowTextA(control, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(std::max(0, copied)));
    return text;
}

void TMainForm::setText(HWND edit, const std::string& text) {
    if (textOf(edit) == text) return;
    settingText_ = true;
    SetWindowTextA(edit, text.c_str());
    settingText_ = false;
    if (edit == LoginEdit)
        LoginEditChange();
    else if (edit == PassEdit)
        PassEditChange();
    else if (edit == PathEdit)
        PathEditChange();
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

int TMainForm::selectedRow() const {
    return static_cast<int>(SendMessageA(PatentsList, LVM_GETNEXTITEM, -1, LVNI_SELECTED));
}

std::string TMainForm::selectedCaption() const {
    const int row = selectedRow();
    if (row < 0) return {};
    char buffer[1024] = {};
    LVITEMA item{};
    item.iSubItem = 0;
    item.pszText = buffer;
    item.cchTextMax = sizeof buffer;
    SendMessageA(PatentsList, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
    return buffer;
}

bool TMainForm::askYesNo(const std::string& text, const std::string& title) {
    return dialogs_.askYesNo(text, title);
}

void TMainForm::openDocument(const std::string& path) {
    dialogs_.openDocument(path);
}

}  // namespace vantorel
