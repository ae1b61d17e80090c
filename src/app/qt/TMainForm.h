#pragma once

// The list and the edits are members of their own types.
#include "app/qt/widgets/PatentListView.h"
#include "app/qt/widgets/SingleLineEdit.h"

#include <QWidget>
#include <map>
#include <optional>
#include <string>

#include "form/MainFormCore.h"
#include "form/MainFormView.h"

class QFrame;
class QGroupBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QTabWidget;
class QTimer;

namespace vantorel {

struct ControlDesign;
class BannerPicture;
class RadioGroup;
class TOpenDirectory;
class UserDialogs;

using TMainFormOptions = FormOptions;

// The main window under Qt. Controls keep their designer names as member and
// object names. The behaviour lives in MainFormCore: this window builds the
// controls, forwards their events to the handlers of the same names and shows
// what the core tells it through MainFormView.
class TMainForm : public QWidget, public MainFormView {
    Q_OBJECT
public:
    TMainForm(UserDialogs& dialogs, TMainFormOptions options, QWidget* parent = nullptr);
    ~TMainForm() override;

    MainFormCore& core() { return core_; }
    double scale() const { return scale_; }
    // A control by its designer name; nullptr for one the design does not have.
    QWidget* control(const std::string& name) const;

    // MainFormView
    std::string editText(Edit edit) const override;
    void setEditText(Edit edit, const std::string& text) override;
    void setControlEnabled(Control control, bool enabled) override;
    void setProgressPosition(int position) override;  // shown within 0..100
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

public:
    QFrame* Panel1 = nullptr;
    BannerPicture* Image1 = nullptr;
    QTabWidget* PageControl1 = nullptr;
    QWidget* TabSheet1 = nullptr;
    QWidget* TabSheet2 = nullptr;
    QWidget* TabSheet3 = nullptr;
    SingleLineEdit* PatID = nullptr;
    QLabel* PatIDLabel = nullptr;
    QPushButton* Button1 = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    PatentListView* PatentsList = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* Button3 = nullptr;
    QGroupBox* GroupBox2 = nullptr;
    SingleLineEdit* LoginEdit = nullptr;
    SingleLineEdit* PassEdit = nullptr;
    QGroupBox* GroupBox3 = nullptr;
    SingleLineEdit* PathEdit = nullptr;
    QPushButton* Button4 = nullptr;
    RadioGroup* RadioGroup1 = nullptr;
    QGroupBox* GroupBox4 = nullptr;
    SingleLineEdit* TOEdit = nullptr;
    QPushButton* Button5 = nullptr;
    QTimer* Timer1 = nullptr;
    TOpenDirectory* OpenDirectory1 = nullptr;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int s(int pixels) const;
    void buildControls();
    QWidget* createControl(const ControlDesign& design, QWidget* container);
    PatentListView* createList(QWidget* container);
    void bindMembers();
    void wireHandlers();
    void setTabOrder();
    void sizeFilePathColumn();
    void centreOnDesktop();
    bool pressDefaultButton();
    SingleLineEdit* edit(Edit which) const;

    TMainFormOptions options_;
    std::map<std::string, QWidget*> controls_;
    double scale_ = 1.0;
    bool positioned_ = false;
    MainFormCore core_;
};

}  // namespace vantorel
