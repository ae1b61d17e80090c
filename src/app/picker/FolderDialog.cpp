#include "app/picker/FolderDialog.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

#include "app/picker/FolderListView.h"
#include "platform/TextRules.h"

namespace vantorel {
namespace {

QString cleanFolder(const QString& path) {
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

}  // namespace

FolderDialog::FolderDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("Open"));
    setWindowModality(Qt::ApplicationModal);

    model_ = new QFileSystemModel(this);
    // Folders only; hidden ones stay hidden as in any file manager.
    model_->setFilter(QDir::Dirs | QDir::NoDotAndDotDot);
    model_->setReadOnly(true);
    model_->sort(0, Qt::AscendingOrder);

    list_ = new FolderListView(this);
    list_->setObjectName("folderList");
    list_->setModel(model_);

    upButton_ = new QPushButton(tr("&Up"), this);
    upButton_->setObjectName("upButton");
    upButton_->setAutoDefault(false);

    nameBox_ = new QLineEdit(this);
    nameBox_->setObjectName("nameBox");

    // The accept button is the default, so Enter in the name box reaches it;
    // the component decides what a click on it means.
    acceptButton_ = new QPushButton(tr("&Open"), this);
    acceptButton_->setObjectName("acceptButton");
    acceptButton_->setDefault(true);

    auto* cancelButton = new QPushButton(tr("Cancel"), this);
    cancelButton->setObjectName("cancelButton");
    cancelButton->setAutoDefault(false);

    auto* nameLabel = new QLabel(tr("Folder &name:"), this);
    nameLabel->setBuddy(nameBox_);

    auto* grid = new QGridLayout(this);
    grid->addWidget(upButton_, 0, 2);
    grid->addWidget(list_, 1, 0, 1, 3);
    grid->addWidget(nameLabel, 2, 0);
    grid->addWidget(nameBox_, 2, 1);
    grid->addWidget(acceptButton_, 2, 2);
    grid->addWidget(cancelButton, 3, 2);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(1, 1);

    connect(upButton_, &QPushButton::clicked, this, &FolderDialog::goUp);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    // Reached from the keyboard only once the component watches the mouse.
    connect(acceptButton_, &QPushButton::clicked, this, &FolderDialog::openTypedFolder);
    connect(list_, &QAbstractItemView::doubleClicked, this, &FolderDialog::openIndex);
    connect(list_, &FolderListView::openRequested, this, &FolderDialog::openIndex);

    resize(560, 380);
    setSizingEnabled(true);
}

void FolderDialog::setSizingEnabled(bool enabled) {
    setSizeGripEnabled(enabled);
    if (enabled) {
        setMinimumSize(minimumSizeHint());
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    } else {
        setFixedSize(size());
    }
}

QPoint FolderDialog::placement(const QRect& screen, const QSize& size) {
    return {screen.x() + roundHalfEven((screen.width() - size.width()) / 2.0),
            screen.y() + roundHalfEven((screen.height() - size.height()) / 3.0)};
}

void FolderDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (opened_) return;
    opened_ = true;
    savedWorkingDirectory_ = QDir::currentPath();
    placeOnScreen();
    emit shown();
    const QFileInfo initial(initialFolder_);
    showFolder(!initialFolder_.isEmpty() && initial.isDir() ? cleanFolder(initialFolder_)
                                                            : QString());
}

void FolderDialog::done(int result) {
    if (restoreWorkingDirectory_ && QDir::currentPath() != savedWorkingDirectory_)
        QDir::setCurrent(savedWorkingDirectory_);
    QDialog::done(result);
}

void FolderDialog::placeOnScreen() {
    QWidget* form = QApplication::activeWindow();
    if (!form || form == this) form = parentWidget() ? parentWidget()->window() : nullptr;
    QScreen* screen = form ? form->screen() : nullptr;
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (screen) move(placement(screen->geometry(), frameGeometry().size()));
}

void FolderDialog::showFolder(const QString& folder) {
    if (folderShown_ && folder == currentPath_) return;
    folderShown_ = true;
    currentPath_ = folder;
    const QModelIndex root = model_->setRootPath(folder);
    list_->setRootIndex(folder.isEmpty() ? QModelIndex() : root);
    list_->selectionModel()->clear();
    list_->scrollToTop();
    upButton_->setEnabled(!folder.isEmpty());
    emit folderChanged(folder);
}

void FolderDialog::openIndex(const QModelIndex& index) {
    const QString path = model_->filePath(index);
    if (!path.isEmpty() && QFileInfo(path).isDir()) showFolder(cleanFolder(path));
}

void FolderDialog::goUp() {
    if (currentPath_.isEmpty()) return;
    if (currentPath_ == QDir::rootPath()) {
        showFolder(QString());  // above the root: the place that lists the root
        return;
    }
    // A parent removed meanwhile is skipped on the way up.
    QString parent = QFileInfo(currentPath_).path();
    while (parent != QDir::rootPath() && !QFileInfo(parent).isDir())
        parent = QFileInfo(parent).path();
    showFolder(parent);
}

void FolderDialog::openTypedFolder() {
    // Keyboard acceptance only opens the folder the name box names; it never
    // ends the dialog, so nothing but the mouse can accept.
    const QString text = nameBox_->text();
    if (text.isEmpty()) return;
    QString path = text;
    if (QDir::isRelativePath(text)) {
        if (currentPath_.isEmpty()) return;
        path = QDir(currentPath_).filePath(text);
    }
    if (QFileInfo(path).isDir()) showFolder(cleanFolder(path));
}

}  // namespace vantorel
