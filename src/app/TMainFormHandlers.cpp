// TMainForm's handlers, its start-up sequence and what it offers the core.
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QCoreApplication>
#include <QTimer>
#include <algorithm>
#include <exception>

#include "app/BannerPicture.h"
#include "app/RadioGroup.h"
#include "app/TMainForm.h"
#include "app/UserDialogs.h"
#include "app/picker/TOpenDirectory.h"
#include "browser/BrowserEntry.h"
#include "browser/BrowserHook.h"
#include "browser/SchemeAddress.h"
#include "platform/Paths.h"
#include "platform/RegistryKey.h"
#include "settings/SettingsStore.h"

namespace vantorel {

namespace {
QString fromText(const std::string& text) {
    return QString::fromStdString(text);
}
std::string toText(const QLineEdit* edit) {
    return edit->text().toStdString();
}
}  // namespace

// Failures never cross Qt's own frames: each handler run by an event is
// wrapped here and what escapes it goes to the error box; the window goes on.
template <class Handler>
auto TMainForm::guarded(Handler handler) {
    return [this, handler] {
        try {
            (this->*handler)();
        } catch (const std::exception& failure) {
            reportFailure(failure.what());
        }
    };
}

void TMainForm::reportFailure(const std::string& message) {
    dialogs_.showError(message);
}

void TMainForm::wireHandlers() {
    connect(Timer1, &QTimer::timeout, this, guarded(&TMainForm::Timer1Timer));
    connect(Button1, &QPushButton::clicked, this, guarded(&TMainForm::Button1Click));
    connect(Button2, &QPushButton::clicked, this, guarded(&TMainForm::Button2Click));
    connect(Button3, &QPushButton::clicked, this, guarded(&TMainForm::Button3Click));
    connect(Button4, &QPushButton::clicked, this, guarded(&TMainForm::Button4Click));
    connect(Button5, &QPushButton::clicked, this, guarded(&TMainForm::Button5Click));
    connect(LoginEdit, &QLineEdit::textChanged, this, guarded(&TMainForm::LoginEditChange));
    connect(PassEdit, &QLineEdit::textChanged, this, guarded(&TMainForm::PassEditChange));
    connect(PathEdit, &QLineEdit::textChanged, this, guarded(&TMainForm::PathEditChange));
    connect(Image1, &BannerPicture::clicked, this, guarded(&TMainForm::Image1Click));
}

void TMainForm::FormCreate() {
    try {
        current_.UserLogin = toText(LoginEdit);
        current_.UserPassword = toText(PassEdit);
        current_.PatentPath = toText(PathEdit);
        PageControl1->setCurrentIndex(0);
        Timer1->start();
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
    // The desktop's own browser hook comes last, so its failure never stops
    // the settings or the list from loading.
    try {
        BrowserHook::registerForThisPlatform(current_.InstallPath);
    } catch (const std::exception& failure) {
        reportFailure(failure.what());
    }
}

void TMainForm::Timer1Timer() {
    Timer1->stop();
    if (options_.commandLineRequest.empty()) return;
    // A vantorel: address from the browser hook carries the request encoded.
    const auto request = SchemeAddress::requestFromArgument(options_.commandLineRequest);
    if (!request) {
        dialogs_.showMessage(SchemeAddress::refusedMessage(options_.commandLineRequest));
        return;
    }
    if (request->empty()) return;
    PatID->setText(fromText(*request));
    Button1Click();
}

void TMainForm::Button1Click() {
    runDownloadCommand();
}

void TMainForm::runDownloadCommand() {
    if (downloadCommand_) {
        downloadCommand_();
    } else {
        command_.run();
    }
}

void TMainForm::HTTPClientWork(WorkMode, std::int64_t count) {
    command_.onWork(count);
}

std::string TMainForm::requestText() const {
    return toText(PatID);
}

std::string TMainForm::serviceHost() const {
    return SettingsStore(current_.InstallPath).serviceHost();
}

void TMainForm::setCommandEnabled(bool enabled) {
    Button1->setEnabled(enabled);
    PatID->setEnabled(enabled);
    if (enabled) PageControl1->setEnabled(true);
}

void TMainForm::processEvents() {
    QCoreApplication::processEvents();
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
    if (OpenDirectory1->Execute() == 1) setPathText(OpenDirectory1->Directory + kPathSeparator);
}

void TMainForm::Button5Click() {
    SettingsStore(current_.InstallPath).save(*this, current_);
}

void TMainForm::LoginEditChange() {
    current_.UserLogin = toText(LoginEdit);
}
void TMainForm::PassEditChange() {
    current_.UserPassword = toText(PassEdit);
}
void TMainForm::PathEditChange() {
    current_.PatentPath = toText(PathEdit);
}

void TMainForm::Image1Click() {
    dialogs_.openDocument(kHomePage);
}

void TMainForm::RescanPatents() {
    PatentsList->setRowCount(0);
    for (const PatentRow& row : PatentFolder::scan(current_.PatentPath)) {
        const int index = PatentsList->rowCount();
        PatentsList->insertRow(index);
        PatentsList->setItem(index, 0, new QTableWidgetItem(fromText(row.caption)));
        PatentsList->setItem(index, 1, new QTableWidgetItem(fromText(row.filePath)));
        PatentsList->setItem(index, 2, new QTableWidgetItem(fromText(row.dateText)));
    }
}

void TMainForm::setProgressPosition(int position) {
    ProgressBar1->setValue(std::clamp(position, 0, 100));
}

std::string TMainForm::loginText() const {
    return toText(LoginEdit);
}
std::string TMainForm::passwordText() const {
    return toText(PassEdit);
}
std::string TMainForm::pathText() const {
    return toText(PathEdit);
}
std::string TMainForm::timeoutText() const {
    return toText(TOEdit);
}
int TMainForm::viewingPreference() const {
    return RadioGroup1->itemIndex();
}

// QLineEdit::setText signals a change only when the text differs, which is
// the rule the change handlers rely on.
void TMainForm::setLoginText(const std::string& text) {
    LoginEdit->setText(fromText(text));
}
void TMainForm::setPasswordText(const std::string& text) {
    PassEdit->setText(fromText(text));
}
void TMainForm::setPathText(const std::string& text) {
    PathEdit->setText(fromText(text));
}
void TMainForm::setTimeoutText(const std::string& text) {
    TOEdit->setText(fromText(text));
}
void TMainForm::setViewingPreference(int index) {
    RadioGroup1->setItemIndex(index);
}

int TMainForm::selectedRow() const {
    const QModelIndexList rows = PatentsList->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

std::string TMainForm::selectedCaption() const {
    const int row = selectedRow();
    const QTableWidgetItem* item = row < 0 ? nullptr : PatentsList->item(row, 0);
    return item ? item->text().toStdString() : std::string();
}

bool TMainForm::askYesNo(const std::string& text, const std::string& title) {
    return dialogs_.askYesNo(text, title);
}

void TMainForm::openDocument(const std::string& path) {
    dialogs_.openDocument(path);
}

bool TMainForm::pressDefaultButton() {
    QPushButton* const defaults[] = {Button1, Button2, nullptr};
    const int tab = PageControl1->currentIndex();
    QPushButton* button = tab >= 0 && tab < 3 ? defaults[tab] : nullptr;
    if (!button || !button->isEnabled()) return false;
    button->click();
    return true;
}

void TMainForm::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const bool plain =
        !(event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier));
    QWidget* focus = focusWidget();
    // Push buttons take Enter themselves; what reaches us comes from the tab
    // strip, an edit, the list or a radio choice.
    if (enter && plain && (!focus || PageControl1->isAncestorOf(focus))) {
        pressDefaultButton();
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TMainForm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!positioned_) {
        positioned_ = true;
        centreOnDesktop();
    }
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
    // Filters are installed while the window is being built: members may still be null.
    if (watched == PatID && event->type() == QEvent::EnabledChange && PatIDLabel) {
        PatIDLabel->setEnabled(PatID->isEnabled());
    } else if (PatentsList && watched == PatentsList && event->type() == QEvent::Resize) {
        sizeFilePathColumn();
    } else if (PatentsList && watched == PatentsList->viewport() &&
               event->type() == QEvent::MouseButtonDblClick) {
        // Run once the list has handled the click itself, so its selection is current.
        QMetaObject::invokeMethod(this, guarded(&TMainForm::PatentsListDblClick),
                                  Qt::QueuedConnection);
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace vantorel
