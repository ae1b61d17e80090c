#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/win32/WindowFont.h"
#include "form/MainFormCore.h"
#include "form/MainFormView.h"

namespace vantorel {

struct ControlDesign;
class TOpenDirectory;
class TMainForm;
class UserDialogs;

struct TMainFormOptions : FormOptions {
    bool quitOnDestroy = true;  // the program's window ends the message loop
    // Called once the window and its controls exist, before the start-up
    // sequence runs: the boxes take the window as their owner here.
    std::function<void(TMainForm&)> created;
};

// The main window, native Win32: it builds the controls, shows what the
// shared core tells it and forwards its events there. Controls keep their
// designer names as members.
class TMainForm : public MainFormView {
public:
    static constexpr const char* kClassName = "TMainForm";
    static constexpr UINT_PTR kTimer1 = 1;

    TMainForm(UserDialogs& dialogs, TMainFormOptions options);
    ~TMainForm() override;
    TMainForm(const TMainForm&) = delete;
    TMainForm& operator=(const TMainForm&) = delete;

    HWND handle() const { return window_; }
    MainFormCore& core() { return *core_; }
    const WindowFont& font() const { return *font_; }
    double scale() const { return font_->scale(); }
    // A control by its designer name ("RadioGroup1.Choice0" for a choice);
    // nullptr for an unknown one.
    HWND control(const std::string& name) const;
    // The container (panel, page or group box) a control's position is relative to.
    HWND containerOf(const std::string& name) const;

    // Shows the window; the first time, the core learns that it is up.
    void show(int showCommand = SW_SHOWNORMAL);

    // The keyboard rules of the window; true when `message` was handled and
    // must not be dispatched. The message loop and the progress pump call it.
    bool preTranslateMessage(MSG& message);
    // Runs the message loop until the window is closed; the exit code.
    int runMessageLoop();

    int activeTab() const;
    int progressPosition() const;
    int rowCount() const;
    static std::string textOf(HWND control);
    // Cuts a field's text at its first line break; false when it holds none.
    bool cutAtLineBreak(HWND edit);

    // MainFormView
    std::string editText(Edit edit) const override { return textOf(editWindow(edit)); }
    void setEditText(Edit edit, const std::string& text) override;
    void setControlEnabled(Control control, bool enabled) override;
    void setProgressPosition(int position) override;
    void selectTab(int index) override;
    void clearRows() override;
    void addRow(const std::string& caption, const std::string& filePath,
                const std::string& dateText) override;
    int selectedRow() const override;
    std::string selectedCaption() const override;
    int viewingPreference() const override;
    void setViewingPreference(int index) override;
    std::optional<std::string> runFolderPicker() override;
    void setTimer1Enabled(bool enabled) override;
    void closeWindow() override;
    void processEvents() override;

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
    std::unique_ptr<TOpenDirectory> OpenDirectory1;

private:
    struct Placed {
        HWND parent;   // the window the control is a child of
        POINT origin;  // the container's client origin inside that parent
    };

    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK listProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK patentFieldProcedure(HWND window, UINT message, WPARAM wParam,
                                                 LPARAM lParam);
    void pasteColumnIntoPatentField();
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void onCommand(HWND control, int code);
    LRESULT onNotify(const NMHDR& header);
    void onActivate(bool active);
    void onClose();
    HWND editWindow(Edit edit) const;

    int s(int pixels) const;
    void createWindow();
    void createControls();
    HWND createControl(const ControlDesign& layout);
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

    UserDialogs& dialogs_;
    TMainFormOptions options_;
    std::unique_ptr<WindowFont> font_;
    HBITMAP banner_ = nullptr;
    HICON icon_ = nullptr;
    HICON smallIcon_ = nullptr;
    HWND window_ = nullptr;
    WNDPROC listDefault_ = nullptr;
    WNDPROC patentFieldDefault_ = nullptr;
    std::map<std::string, HWND> controls_;
    std::map<std::string, Placed> containers_;
    std::map<std::string, std::string> containerNames_;
    std::unique_ptr<MainFormCore> core_;
    bool settingText_ = false;
    bool shown_ = false;
    HWND focusBeforeRun_ = nullptr;
    HWND focusBeforeDeactivate_ = nullptr;
};

}  // namespace vantorel
