#pragma once

// The list and the edits are members of their own types.
#include "app/widgets/PatentListView.h"
#include "app/widgets/SingleLineEdit.h"

#include <QWidget>
#include <functional>
#include <memory>
#include <string>

#include "library/PatentFolder.h"
#include "retrieval/DownloadCommand.h"
#include "retrieval/HttpClient.h"
#include "retrieval/HttpPageGetter.h"
#include "settings/CurrentSettings.h"
#include "settings/SettingsTab.h"

class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTabWidget;
class QTableWidget;
class QTimer;

namespace vantorel {

class BannerPicture;
class RadioGroup;
class TOpenDirectory;
class UserDialogs;

struct TMainFormOptions {
    std::string commandLineRequest;  // handed to the download command by Timer1Timer
    int dotsPerInch = 0;             // 0: the screen's
};

// The main window. Controls keep their designer names as member and object
// names; handlers are named after the component and the event.
class TMainForm : public QWidget,
                  public SettingsTab,
                  public PatentListHost,
                  public DownloadHost {
    Q_OBJECT
public:
    static constexpr const char* kHomePage = "https://www.vantorel.example/";

    TMainForm(UserDialogs& dialogs, TMainFormOptions options, QWidget* parent = nullptr);
    ~TMainForm() override;

    CurrentSettings& currentSettings() { return current_; }
    const CurrentSettings& currentSettings() const override { return current_; }
    double scale() const { return scale_; }

    // Run by Button1Click; tests may plug in another download command here.
    void setDownloadCommand(std::function<void()> command) {
        downloadCommand_ = std::move(command);
    }
    void runDownloadCommand();

    // The bar shows any position within 0..100.
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
    void setViewingPreference(int index) override;

    // PatentListHost
    int selectedRow() const override;
    std::string selectedCaption() const override;
    bool askYesNo(const std::string& text, const std::string& title) override;
    void openDocument(const std::string& path) override;
    void rescanPatents() override { RescanPatents(); }

    void RescanPatents();

    // DownloadHost (viewingPreference, timeoutText, askYesNo, openDocument and
    // rescanPatents serve it too)
    std::string requestText() const override;
    std::string serviceHost() const override;
    void setCommandEnabled(bool enabled) override;
    void setProgress(int position) override { setProgressPosition(position); }
    void processEvents() override;
    void showMessage(const std::string& text) override;

public slots:
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
    HttpClient HTTPClient;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int s(int pixels) const;
    QRect rect(int left, int top, int width, int height) const;
    QLabel* addLabel(QWidget* parent, const char* name, const char* text, int left, int top,
                     int width);
    QPushButton* addButton(QWidget* parent, const char* name, const char* text, QRect geometry);
    SingleLineEdit* addEdit(QWidget* parent, const char* name, QRect geometry);
    void buildBanner();
    void buildDownloaderTab();
    void buildSampleFormats();
    void buildListTab();
    void buildSettingsTab();
    void wireHandlers();
    void setTabOrder();
    void sizeFilePathColumn();
    void centreOnDesktop();
    bool pressDefaultButton();
    void reportFailure(const std::string& message);
    template <class Handler>
    auto guarded(Handler handler);

    UserDialogs& dialogs_;
    TMainFormOptions options_;
    CurrentSettings current_;
    double scale_ = 1.0;
    bool positioned_ = false;
    std::function<void()> downloadCommand_;
    HttpPageGetter getter_{HTTPClient};
    DownloadCommand command_{*this, getter_};
};

}  // namespace vantorel
