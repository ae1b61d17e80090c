#pragma once

#include <optional>
#include <string>

namespace vantorel {

// What the shared main-window logic (MainFormCore) asks of a window's
// controls. Each toolkit's window implements it: it owns the controls and
// shows what it is told; it decides nothing. The boxes and shell open are
// another seam (UserDialogs). All calls come on the window's thread.
//
// Change notifications: the core is the one that keeps the rule "setting an
// edit to the text it already shows runs no change handler". It calls
// setEditText only when the text differs and then runs the change handler
// itself. A view therefore must not report a change caused by setEditText
// (block the toolkit's notification while setting), and reports every change
// the user makes by calling the core's LoginEditChange, PassEditChange or
// PathEditChange.
class MainFormView {
public:
    enum class Edit { PatID, LoginEdit, PassEdit, PathEdit, TOEdit };
    enum class Control { Button1, PatID, PageControl1 };

    // The designer name of each, as the form's design gives it.
    static const char* nameOf(Edit edit);
    static const char* nameOf(Control control);

    virtual ~MainFormView() = default;

    // The edits.
    virtual std::string editText(Edit edit) const = 0;
    virtual void setEditText(Edit edit, const std::string& text) = 0;

    // A disabled control is greyed and takes neither the focus nor clicks.
    virtual void setControlEnabled(Control control, bool enabled) = 0;

    // ProgressBar1; the core passes positions within 0..100 only.
    virtual void setProgressPosition(int position) = 0;

    // PageControl1: selects a tab by index, 0 being "Patent Downloader".
    virtual void selectTab(int index) = 0;

    // PatentsList: rows stay in the order added.
    virtual void clearRows() = 0;
    virtual void addRow(const std::string& caption, const std::string& filePath,
                        const std::string& dateText) = 0;
    virtual int selectedRow() const = 0;              // -1 when none
    virtual std::string selectedCaption() const = 0;  // empty when none

    // RadioGroup1's selected index; the core passes and expects -1..2.
    virtual int viewingPreference() const = 0;
    virtual void setViewingPreference(int index) = 0;

    // Runs the folder picker OpenDirectory1: its Directory when Execute
    // returned 1, nothing otherwise.
    virtual std::optional<std::string> runFolderPicker() = 0;

    // Timer1 (one second); each tick must call the core's Timer1Timer. A
    // view that cannot arm it throws Failure("Not enough timers available").
    virtual void setTimer1Enabled(bool enabled) = 0;

    // Closes the window once control is back in its event loop; the program
    // then ends. The core asks for it when a close waited for a run to end.
    virtual void closeWindow() = 0;

    // Lets the window handle its pending messages (repaint, input) while a
    // transfer blocks the thread.
    virtual void processEvents() = 0;
};

}  // namespace vantorel
