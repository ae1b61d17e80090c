#include "form/MainFormCore.h"

#include <algorithm>
#include <exception>
#include <utility>

#include "browser/BrowserEntry.h"
#include "browser/BrowserHook.h"
#include "browser/SchemeAddress.h"
#include "platform/Paths.h"
#include "platform/RegistryKey.h"
#include "platform/TemporaryFile.h"
#include "settings/SettingsStore.h"

namespace vantorel {

using Edit = MainFormView::Edit;
using Control = MainFormView::Control;

const char* MainFormView::nameOf(Edit edit) {
    switch (edit) {
        case Edit::PatID:
            return "PatID";
        case Edit::LoginEdit:
            return "LoginEdit";
        case Edit::PassEdit:
            return "PassEdit";
        case Edit::PathEdit:
            return "PathEdit";
        case Edit::TOEdit:
            return "TOEdit";
    }
    return "";
}

const char* MainFormView::nameOf(Control control) {
    switch (control) {
        case Control::Button1:
            return "Button1";
        case Control::PatID:
            return "PatID";
        case Control::PageControl1:
            return "PageControl1";
    }
    return "";
}

MainFormCore::MainFormCore(MainFormView& view, UserDialogs& dialogs, std::string commandLineRequest)
    : view_(view), dialogs_(dialogs), commandLineRequest_(std::move(commandLineRequest)) {
    HTTPClient.OnWork = [this](WorkMode mode, std::int64_t count) { HTTPClientWork(mode, count); };
}

MainFormCore::~MainFormCore() = default;

// The one place where a failure that escapes a handler is caught: it goes to
// the error box and the window goes on with its next event.
template <class Steps>
void MainFormCore::guarded(Steps steps) {
    try {
        steps();
    } catch (const std::exception& failure) {
        dialogs_.showError(failure.what());
    }
}

void MainFormCore::FormCreate() {
    // A failed step skips the rest, the desktop hook included; the window
    // opens all the same.
    guarded([this] { startUpSteps(); });
    created_ = true;
    resumeHandOff();
}

void MainFormCore::startUpSteps() {
    current_.UserLogin = view_.editText(Edit::LoginEdit);
    current_.UserPassword = view_.editText(Edit::PassEdit);
    current_.PatentPath = view_.editText(Edit::PathEdit);
    view_.selectTab(0);
    view_.setTimer1Enabled(true);
    {
        RegistryKey programKey;
        if (programKey.openOrCreate(kProgramRegistryKey)) {
            current_.InstallPath = SettingsStore::readInstallFolder(programKey);
            programKey.close();
            BrowserEntry::registerMenuEntry(current_.InstallPath);
        }
    }
    SettingsStore(current_.InstallPath).load(*this);
    // What a run killed while saving left in the patent folder goes now.
    TemporaryFile::removeStale(current_.PatentPath);
    RescanPatents();
    // The desktop's own browser hook comes last, after everything the window
    // needs has loaded.
    BrowserHook::registerForThisPlatform(current_.InstallPath);
}

void MainFormCore::windowShown() {
    shown_ = true;
    resumeHandOff();
}

bool MainFormCore::closeRequested() {
    if (!running_) return true;
    closeDue_ = true;
    return false;
}

void MainFormCore::Timer1Timer() {
    guarded([this] {
        view_.setTimer1Enabled(false);
        // An error box during start-up or a running download lets the timer
        // tick early: the hand-off waits until the window is up and idle.
        if (!created_ || !shown_ || running_) {
            handOffDue_ = true;
            return;
        }
        handOff();
    });
}

void MainFormCore::resumeHandOff() {
    if (!handOffDue_ || !created_ || !shown_ || running_) return;
    handOffDue_ = false;
    guarded([this] { view_.setTimer1Enabled(true); });
}

void MainFormCore::handOff() {
    const std::string argument = std::exchange(commandLineRequest_, std::string());
    if (argument.empty()) return;
    // A vantorel: address from the browser hook carries the request encoded;
    // a selection that cannot be sent as it is waits in the field.
    const SchemeAddress::HandOff hand = SchemeAddress::handOff(argument);
    if (hand.fieldText) setEditText(Edit::PatID, *hand.fieldText);
    if (!hand.message.empty()) dialogs_.showMessage(hand.message);
    if (!hand.download) return;
    runDownloadCommand();
}

void MainFormCore::Button1Click() {
    guarded([this] { runDownloadCommand(); });
}

void MainFormCore::setDownloadCommand(std::function<void()> command) {
    downloadCommand_ = std::move(command);
}

void MainFormCore::runDownloadCommand() {
    // The button is disabled during a run; this also keeps any other path
    // (the hand-off) from starting a second one inside the first.
    if (running_) return;
    running_ = true;
    struct EndOfRun {
        MainFormCore& core;
        ~EndOfRun() {
            core.running_ = false;
            if (core.closeDue_) {
                // The close that waited for this run: nothing else starts now.
                core.closeDue_ = false;
                core.view_.closeWindow();
                return;
            }
            core.resumeHandOff();
        }
    } end{*this};
    if (downloadCommand_) {
        downloadCommand_();
    } else {
        command_.run();
    }
}

void MainFormCore::HTTPClientWork(WorkMode, std::int64_t count) {
    command_.onWork(count);
}

void MainFormCore::Button2Click() {
    guarded([this] { PatentFolder::viewSelected(*this, current_.PatentPath); });
}

void MainFormCore::PatentsListDblClick() {
    guarded([this] { PatentFolder::viewSelected(*this, current_.PatentPath); });
}

void MainFormCore::Button3Click() {
    guarded([this] { PatentFolder::deleteSelected(*this, current_.PatentPath); });
}

void MainFormCore::Button4Click() {
    guarded([this] {
        const std::optional<std::string> folder = view_.runFolderPicker();
        if (!folder) return;
        // The Settings file keeps one value a line: a folder whose name holds
        // a line break could never be stored or read back as it is.
        if (folder->find_first_of("\r\n") != std::string::npos) {
            dialogs_.showMessage(kLineBreakInFolderMessage);
            return;
        }
        // A root already ends in the separator.
        const bool ends = !folder->empty() && folder->back() == kPathSeparator;
        setPathText(ends ? *folder : *folder + kPathSeparator);
    });
}

void MainFormCore::Button5Click() {
    guarded([this] { SettingsStore(current_.InstallPath).save(*this, current_); });
}

void MainFormCore::LoginEditChange() {
    current_.UserLogin = view_.editText(Edit::LoginEdit);
}
void MainFormCore::PassEditChange() {
    current_.UserPassword = view_.editText(Edit::PassEdit);
}
void MainFormCore::PathEditChange() {
    current_.PatentPath = view_.editText(Edit::PathEdit);
}

void MainFormCore::Image1Click() {
    guarded([this] { dialogs_.openDocument(kHomePage); });
}

void MainFormCore::RescanPatents() {
    view_.clearRows();
    rows_ = PatentFolder::scan(current_.PatentPath);
    for (const PatentRow& row : rows_) view_.addRow(row.caption, row.filePath, row.dateText);
}

void MainFormCore::setEditText(Edit edit, const std::string& text) {
    if (view_.editText(edit) == text) return;
    view_.setEditText(edit, text);
    switch (edit) {
        case Edit::LoginEdit:
            LoginEditChange();
            break;
        case Edit::PassEdit:
            PassEditChange();
            break;
        case Edit::PathEdit:
            PathEditChange();
            break;
        case Edit::PatID:
        case Edit::TOEdit:
            break;
    }
}

void MainFormCore::setProgressPosition(int position) {
    view_.setProgressPosition(std::clamp(position, 0, 100));
}

std::string MainFormCore::loginText() const {
    return view_.editText(Edit::LoginEdit);
}
std::string MainFormCore::passwordText() const {
    return view_.editText(Edit::PassEdit);
}
std::string MainFormCore::pathText() const {
    return view_.editText(Edit::PathEdit);
}
std::string MainFormCore::timeoutText() const {
    return view_.editText(Edit::TOEdit);
}
int MainFormCore::viewingPreference() const {
    return view_.viewingPreference();
}
void MainFormCore::setLoginText(const std::string& text) {
    setEditText(Edit::LoginEdit, text);
}
void MainFormCore::setPasswordText(const std::string& text) {
    setEditText(Edit::PassEdit, text);
}
void MainFormCore::setPathText(const std::string& text) {
    setEditText(Edit::PathEdit, text);
}
void MainFormCore::setTimeoutText(const std::string& text) {
    setEditText(Edit::TOEdit, text);
}
void MainFormCore::setViewingPreference(int index) {
    view_.setViewingPreference(std::clamp(index, -1, 2));
}

int MainFormCore::selectedRow() const {
    return view_.selectedRow();
}
std::string MainFormCore::selectedCaption() const {
    return view_.selectedCaption();
}
std::string MainFormCore::selectedFileName() const {
    // The list shows names for reading; the file is reached by the name it
    // was enumerated with, case and bytes as they are.
    const int row = view_.selectedRow();
    if (row < 0 || row >= static_cast<int>(rows_.size())) return selectedCaption() + ".pdf";
    return rows_[static_cast<std::size_t>(row)].fileName;
}
bool MainFormCore::askYesNo(const std::string& text, const std::string& title) {
    return dialogs_.askYesNo(text, title);
}
void MainFormCore::openDocument(const std::string& path) {
    dialogs_.openDocument(path);
}

std::string MainFormCore::requestText() const {
    return view_.editText(Edit::PatID);
}
std::string MainFormCore::serviceHost() const {
    return SettingsStore(current_.InstallPath).serviceHost();
}
std::string MainFormCore::caFile() const {
    return SettingsStore(current_.InstallPath).caFile();
}
void MainFormCore::setCommandEnabled(bool enabled) {
    view_.setControlEnabled(Control::Button1, enabled);
    view_.setControlEnabled(Control::PatID, enabled);
    if (enabled) view_.setControlEnabled(Control::PageControl1, true);
}
void MainFormCore::processEvents() {
    view_.processEvents();
}
void MainFormCore::showMessage(const std::string& text) {
    dialogs_.showMessage(text);
}

}  // namespace vantorel
