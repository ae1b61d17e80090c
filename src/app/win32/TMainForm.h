#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "WindowFont.h"
#include "library/PatentFolder.h"
#include "retrieval/DownloadCommand.h"
#include "retrieval/HttpClient.h"
#include "retrieval/HttpPageGetter.h"
#include "settings/CurrentSettings.h"
#include "settings/SettingsTab.h"

namespace vantorel {

struct ControlSpec;
class TMainForm;
class UserDialogs;

struct TMainFormOptions {
    std::string commandLineRequest;  // handed to the download command by Timer1Timer
    int dotsPerInch = 0;             // 0: the screen's
    bool quitOnDestroy = true;       // the program's window ends the message loop
    // Called once the window and its controls exist, before the start-up
    // sequence runs: the boxes take the window as their owner here.
    std::function<void(TMainForm&)> created;
};

// The main window, native Win32. Controls keep their designer names as
// members; handlers are named after the component and the event.
class TMainForm : public SettingsTab, public PatentListHost, public DownloadHost {
public:
    static constexpr const char* kClassName = "TMainForm";
    static constexpr const char* kHomePage = "https://www.vantorel.example/";
    static constexpr UINT_PTR kTimer1 = 1;

    TMainForm(UserDialogs& dialogs, TMainFormOptions options);
    ~TMainForm() override;
    TMainForm(const TMainForm&) = delete;
    TMainForm& operator=(const TMainForm&) = delete;

    HWND handle() const { return window_; }
    const WindowFont& font() const { return *font_; }
    double scale() const { return font_->scale(); }
    // A control by its designer name; nullptr for an unknown one.
    HWND control(const std::string& name) const;
    // The container (panel, page or group box) a control's position is relative to.
    HWND containerOf(const std::string& name) const;

    void show(int showCommand = SW_SHOWNORMAL);

    // The keyboard rules of the window; true when `message` was handled and
    // must not be dispatched. The message loop and the progress pump call it.
    bool preTranslateMessage(MSG& message);
    // Runs the message loop until the window is closed; the exit code.
    int runMessageLoop();

    CurrentSettings& currentSettings() { return current_; }
    const CurrentSettings& currentSettings() const override { return current_; }
    bool running() const { return running_; }

    // Run by Button1Click; tests may plug in another download command here.
    void setDownloadCommand(std::function<void()> command) {
        downloadCommand_ = std::move(command);
    }
    void runDownloadCommand();
    void setProgressPosition(int position);
    int progressPosition() const;
    int activeTab() const;
    void selectTab(int index);

    // Edit texts; setting a text that differs runs the edit's change handler.
    static std::string textOf(HWND control);
    void setText(HWND edit, const std::string& text);

    // SettingsTab
    std::string loginText() const override { return textOf(LoginEdit); }
    std::string passwordText() const override { return textOf(PassEdit); }
    std::string pathText() const override { return textOf(PathEdit); }
    std::string timeoutText() const override { return textOf(TOEdit); }
    int viewingPreference() const override;
    void setLoginText(const std::string& text) override { setText(LoginEdit, text); }
    void setPasswordText(const std::string& text) override { setText(PassEdit, text); }
    void setPathText(const std::string& text) override { setText(PathEdit, text); }
    void setTimeoutText(const std::string& text) override { setText(TOEdit, text); }
    void setViewingPreference(int index) override;

    // PatentListHost
    int selectedRow() const override;
    std::string selectedCaption() const override;
    bool askYesNo(const std::string& text, const std::string& title) override;
    void openDocument(const std::string& path) override;
    void rescanPatents() override { RescanPatents(); }

    void RescanPatents();
    int rowCount() const;

    // DownloadHost
    std::string requestText() const override { return textOf(PatID); }
    std::string serviceHost() const override;
    void setCommandEnabled(bool enabled) override;
    void setProgress(int position) override { setProgressPosition(position); }
    void processEvents() override;
    void showMessage(const std::string& text) override;

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

    HWND Panel1 = nullptr;
    HWND Image1 = nullptr;
    HWND PageControl1 = nullptr;
    HWND TabSheet1 = nullptr;
    HWND TabSheet2 = nullptr;
    HWND TabSheet3 = nullptr;
    HWND PatIDLabel = nullptr;
    HWND PatID = nullptr;
    HWND Button1 = nullptr;
    HWND ProgressBar1 = nullptr;
    HWND GroupBox1 = nullptr;
    HWND PatentsList = nullptr;
    HWND Button2 = nullptr;
    HWND Button3 = nullptr;
    HWND GroupBox2 = nullptr;
    HWND LoginEdit = nullptr;
    HWND PassEdit = nullptr;
    HWND GroupBox3 = nullptr;
    HWND PathEdit = nullptr;
    HWND Button4 = nullptr;
    HWND RadioGroup1 = nullptr;
    HWND RadioChoices[3] = {};
    HWND GroupBox4 = nullptr;
    HWND TOEdit = nullptr;
    HWND Button5 = nullptr;
    HttpClient HTTPClient;

private:
    struct Placed {
        HWND parent;   // the window the control is a child of
        POINT origin;  // the container's client origin inside that parent
    };

    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK listProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void onCommand(HWND control, int code);
    LRESULT onNotify(const NMHDR& header);
    void onClose();

    int s(int pixels) const;
    void createWindow();
    void createControls();
    HWND createControl(const ControlSpec& spec);
    void createRadioChoices(const Placed& where, RECT group);
    void bindMembers();
    void sizeFilePathColumn();
    void showPage(int index);
    void centreOnDesktop();
    void updateRadioTabStops();
    bool pressDefaultButton();
    bool focusInTabControl() const;
    std::vector<HWND> tabStops() const;
    void moveFocus(bool backwards);
    void switchTab(bool backwards);
    template <class Handler>
    void guarded(Handler handler);
    void reportFailure(const std::string& message);

    UserDialogs& dialogs_;
    TMainFormOptions options_;
    std::unique_ptr<WindowFont> font_;
    HBITMAP banner_ = nullptr;
    HICON icon_ = nullptr;
    HICON smallIcon_ = nullptr;
    HWND window_ = nullptr;
    WNDPROC listDefault_ = nullptr;
    std::map<std::string, HWND> controls_;
    std::map<std::string, Placed> containers_;
    std::map<std::string, std::string> containerNames_;
    CurrentSettings current_;
    bool settingText_ = false;
    bool running_ = false;
    bool closeRequested_ = false;
    HWND focusBeforeRun_ = nullptr;
    std::function<void()> downloadCommand_;
    HttpPageGetter getter_{HTTPClient};
    DownloadCommand command_{*this, getter_};
};

}  // namespace vantorel
