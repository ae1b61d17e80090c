#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "form/MainFormView.h"
#include "form/UserDialogs.h"
#include "library/PatentFolder.h"
#include "retrieval/DownloadCommand.h"
#include "retrieval/HttpClient.h"
#include "retrieval/HttpPageGetter.h"
#include "settings/CurrentSettings.h"
#include "settings/SettingsTab.h"

namespace vantorel {

// What every window is started with.
struct FormOptions {
    std::string commandLineRequest;  // handed to the download command by Timer1Timer
    int dotsPerInch = 0;             // 0: the screen's
};

// The main window's behaviour, the same under every toolkit: the start-up
// sequence, the command-line hand-off, the handlers, the current settings,
// the HTTP client and the download command. A window builds its controls,
// implements MainFormView, hands over its boxes (UserDialogs) and forwards
// its events here:
//
//   creation, controls built, not yet shown -> FormCreate()
//   the window shown for the first time      -> windowShown()
//   Timer1 tick                              -> Timer1Timer()
//   clicks, double-click, banner             -> Button1Click() ... Image1Click()
//   user changes LoginEdit/PassEdit/PathEdit -> LoginEditChange() ...
//   the user closes the window                -> closeRequested()
//
// The handlers never throw: a failure that escapes one is shown in the error
// box and the window goes on.
class MainFormCore : public SettingsTab, public PatentListHost, public DownloadHost {
public:
    static constexpr const char* kHomePage = "https://www.vantorel.example/";
    // Shown instead of taking a picked folder that no Settings file line can hold.
    static constexpr const char* kLineBreakInFolderMessage =
        "The name of the chosen folder holds a line break, so it cannot be the patent "
        "folder. Please rename the folder or choose another one.";

    // The HTTP client starts the platform's socket layer here; failing that,
    // construction throws Failure.
    MainFormCore(MainFormView& view, UserDialogs& dialogs, std::string commandLineRequest);
    ~MainFormCore() override;
    MainFormCore(const MainFormCore&) = delete;
    MainFormCore& operator=(const MainFormCore&) = delete;

    // Handlers, named after the component and the event.
    void FormCreate();
    void Timer1Timer();
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void Button5Click();
    void PatentsListDblClick();
    void LoginEditChange();
    void PassEditChange();
    void PathEditChange();
    void Image1Click();
    void HTTPClientWork(WorkMode mode, std::int64_t count);
    void RescanPatents();

    // The command-line request is handed over only once this has been called
    // and FormCreate has ended.
    void windowShown();

    // The user closes the window: true when it may go now. A download run in
    // progress is not interrupted; the window stays until the run has ended,
    // and then the core closes it (MainFormView::closeWindow).
    bool closeRequested();

    CurrentSettings& currentSettings() { return current_; }
    const CurrentSettings& currentSettings() const override { return current_; }

    // Run by Button1Click; tests may plug in another download command here.
    void setDownloadCommand(std::function<void()> command);
    bool downloadRunning() const { return running_; }

    // Sets an edit the way the program does: only a different text is set,
    // and then the edit's change handler runs.
    void setEditText(MainFormView::Edit edit, const std::string& text);
    // Clamps to 0..100.
    void setProgressPosition(int position);

    // SettingsTab
    std::string loginText() const override;
    std::string passwordText() const override;
    std::string pathText() const override;
    std::string timeoutText() const override;
    int viewingPreference() const override;
    void setLoginText(const std::string& text) override;
    void setPasswordText(const std::string& text) override;
    void setPathText(const std::string& text) override;
    void setTimeoutText(const std::string& text) override;
    void setViewingPreference(int index) override;  // clamps to -1..2

    // PatentListHost
    int selectedRow() const override;
    std::string selectedCaption() const override;
    std::string selectedFileName() const override;
    bool askYesNo(const std::string& text, const std::string& title) override;
    void openDocument(const std::string& path) override;
    void rescanPatents() override { RescanPatents(); }

    // DownloadHost
    std::string requestText() const override;
    std::string serviceHost() const override;
    std::string caFile() const override;
    void setCommandEnabled(bool enabled) override;
    void setProgress(int position) override { setProgressPosition(position); }
    void processEvents() override;
    void showMessage(const std::string& text) override;

    HttpClient HTTPClient;

private:
    void startUpSteps();
    void handOff();
    void resumeHandOff();
    void runDownloadCommand();
    template <class Steps>
    void guarded(Steps steps);

    MainFormView& view_;
    UserDialogs& dialogs_;
    std::string commandLineRequest_;
    CurrentSettings current_;
    std::vector<PatentRow> rows_;  // as last listed, so View and Delete reach the listed files
    std::function<void()> downloadCommand_;
    HttpPageGetter getter_{HTTPClient};
    DownloadCommand command_{*this, getter_};
    bool created_ = false;     // FormCreate has ended, successfully or not
    bool shown_ = false;       // the window has been shown
    bool running_ = false;     // a download command is running
    bool handOffDue_ = false;  // Timer1 fired before the window was ready for it
    bool closeDue_ = false;    // a close waits for the run to end
};

}  // namespace vantorel
