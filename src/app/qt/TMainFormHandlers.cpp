// TMainForm's side of the core: its events forwarded, and what it shows for the core.
#include <QCloseEvent>
#include <QCoreApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <algorithm>

#include "app/qt/BannerPicture.h"
#include "app/qt/RadioGroup.h"
#include "app/qt/TMainForm.h"
#include "app/qt/picker/TOpenDirectory.h"
#include "form/FormDesign.h"

namespace vantorel {

// Every event goes straight to the core's handler of the same name; the core
// shows what escapes a handler in the error box.
void TMainForm::wireHandlers() {
    MainFormCore* core = &core_;
    connect(Timer1, &QTimer::timeout, this, [core] { core->Timer1Timer(); });
    connect(Button1, &QPushButton::clicked, this, [core] { core->Button1Click(); });
    connect(Button2, &QPushButton::clicked, this, [core] { core->Button2Click(); });
    connect(Button3, &QPushButton::clicked, this, [core] { core->Button3Click(); });
    connect(Button4, &QPushButton::clicked, this, [core] { core->Button4Click(); });
    connect(Button5, &QPushButton::clicked, this, [core] { core->Button5Click(); });
    connect(LoginEdit, &QLineEdit::textChanged, this, [core] { core->LoginEditChange(); });
    connect(PassEdit, &QLineEdit::textChanged, this, [core] { core->PassEditChange(); });
    connect(PathEdit, &QLineEdit::textChanged, this, [core] { core->PathEditChange(); });
    connect(Image1, &BannerPicture::clicked, this, [core] { core->Image1Click(); });
}

SingleLineEdit* TMainForm::edit(Edit which) const {
    return static_cast<SingleLineEdit*>(control(nameOf(which)));
}

std::string TMainForm::editText(Edit which) const {
    return edit(which)->bytes();
}

// The core runs the change handler itself; the edit's own signal stays quiet.
void TMainForm::setEditText(Edit which, const std::string& text) {
    SingleLineEdit* target = edit(which);
    const QSignalBlocker quiet(target);
    target->setBytes(text);
}

void TMainForm::setControlEnabled(Control which, bool enabled) {
    control(nameOf(which))->setEnabled(enabled);
}

void TMainForm::setProgressPosition(int position) {
    ProgressBar1->setValue(std::clamp(position, 0, 100));
}

void TMainForm::selectTab(int index) {
    PageControl1->setCurrentIndex(index);
}

void TMainForm::clearRows() {
    PatentsList->setRowCount(0);
}

void TMainForm::addRow(const std::string& caption, const std::string& filePath,
                       const std::string& dateText) {
    PatentsList->addRow(caption, filePath, dateText);
}

int TMainForm::selectedRow() const {
    return PatentsList->selectedRow();
}

std::string TMainForm::selectedCaption() const {
    return PatentsList->selectedCaption();
}

int TMainForm::viewingPreference() const {
    return RadioGroup1->itemIndex();
}

void TMainForm::setViewingPreference(int index) {
    RadioGroup1->setItemIndex(index);
}

std::optional<std::string> TMainForm::runFolderPicker() {
    if (OpenDirectory1->Execute() != 1) return std::nullopt;
    return OpenDirectory1->Directory;
}

void TMainForm::setTimer1Enabled(bool enabled) {
    if (enabled) {
        Timer1->start();
    } else {
        Timer1->stop();
    }
}

// Queued: the run that ends here is still on the stack.
void TMainForm::closeWindow() {
    QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
}

void TMainForm::processEvents() {
    QCoreApplication::processEvents();
}

bool TMainForm::pressDefaultButton() {
    const ControlDesign* design = defaultButtonOf(PageControl1->currentIndex());
    auto* button = design ? qobject_cast<QPushButton*>(control(design->name)) : nullptr;
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
        core_.windowShown();
    }
}

void TMainForm::closeEvent(QCloseEvent* event) {
    // A run in progress is not interrupted: the window stays until it ends.
    if (!core_.closeRequested()) {
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
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
        QMetaObject::invokeMethod(
            this, [this] { core_.PatentsListDblClick(); }, Qt::QueuedConnection);
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace vantorel
