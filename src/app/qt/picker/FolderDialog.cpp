#include "app/qt/picker/FolderDialog.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStandardItemModel>
#include <QStyle>
#include <algorithm>
#include <filesystem>

#include "app/qt/picker/FolderListView.h"
#include "app/qt/widgets/QtText.h"
#include "app/qt/widgets/SingleLineEdit.h"
#include "form/PickerPlacement.h"
#include "platform/Paths.h"
#include "platform/TextRules.h"

namespace vantorel {
namespace {

namespace fs = std::filesystem;

bool isFolder(const std::string& path) {
    std::error_code error;
    return !path.empty() && fs::is_directory(fs::path(path), error);
}

// Absolute, without "." and "..", and without a trailing separator unless it is the root.
std::string cleanFolder(const std::string& path) {
    std::error_code error;
    std::string clean = fs::absolute(fs::path(path), error).lexically_normal().string();
    while (clean.size() > 1 && clean.back() == kPathSeparator) clean.pop_back();
    return clean;
}

std::string inFolder(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    return folder.back() == kPathSeparator ? folder + name : joinPath(folder, name);
}

}  // namespace

FolderDialog::FolderDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("Open"));
    setWindowModality(Qt::ApplicationModal);

    model_ = new QStandardItemModel(this);

    list_ = new FolderListView(this);
    list_->setObjectName("folderList");
    list_->setModel(model_);

    upButton_ = new QPushButton(tr("&Up"), this);
    upButton_->setObjectName("upButton");
    upButton_->setAutoDefault(false);

    nameBox_ = new SingleLineEdit(this);
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
    const PickerOrigin at = pickerOrigin(screen.x(), screen.y(), screen.width(), screen.height(),
                                         size.width(), size.height());
    return {at.left, at.top};
}

std::vector<std::string> FolderDialog::subfolderNames(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code error;
    fs::directory_iterator entry(fs::path(folder), fs::directory_options::skip_permission_denied,
                                 error);
    for (; !error && entry != fs::directory_iterator(); entry.increment(error)) {
        // Names are taken as the bytes the file system holds, UTF-8 or not.
        const std::string name = entry->path().filename().string();
        std::error_code kind;
        // Hidden folders stay hidden, as in any file manager.
        if (!name.empty() && name[0] != '.' && entry->is_directory(kind)) names.push_back(name);
    }
    return names;
}

void FolderDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (opened_) return;
    opened_ = true;
    savedWorkingDirectory_ = currentDirectory();
    placeOnScreen();
    emit shown();
    showFolder(isFolder(initialFolder_) ? cleanFolder(initialFolder_) : std::string());
}

void FolderDialog::done(int result) {
    if (restoreWorkingDirectory_ && currentDirectory() != savedWorkingDirectory_)
        setCurrentDirectory(savedWorkingDirectory_);
    QDialog::done(result);
}

void FolderDialog::placeOnScreen() {
    QWidget* form = QApplication::activeWindow();
    if (!form || form == this) form = parentWidget() ? parentWidget()->window() : nullptr;
    QScreen* screen = form ? form->screen() : nullptr;
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (screen) move(placement(screen->geometry(), frameGeometry().size()));
}

void FolderDialog::showFolder(const std::string& folder) {
    if (folderShown_ && folder == currentPath_) return;
    folderShown_ = true;
    currentPath_ = folder;
    listFolder();
    upButton_->setEnabled(!folder.empty());
    emit folderChanged(folder);
}

void FolderDialog::listFolder() {
    // Above the root the one place listed is the root itself.
    std::vector<std::string> names{std::string(1, kPathSeparator)};
    if (!currentPath_.empty()) names = subfolderNames(currentPath_);
    std::vector<std::pair<QString, std::string>> shown;
    for (const std::string& name : names) shown.emplace_back(displayString(name), name);
    std::sort(shown.begin(), shown.end(), [](const auto& a, const auto& b) {
        const int order = a.first.compare(b.first, Qt::CaseInsensitive);
        return order != 0 ? order < 0 : a.second < b.second;
    });
    model_->clear();
    const QIcon icon = style()->standardIcon(QStyle::SP_DirIcon);
    for (const auto& [text, name] : shown) {
        auto* item = new QStandardItem(icon, text);
        item->setData(QByteArray::fromStdString(name), kNameRole);
        item->setEditable(false);
        model_->appendRow(item);
    }
    list_->scrollToTop();
}

void FolderDialog::openIndex(const QModelIndex& index) {
    if (!index.isValid()) return;
    const std::string name = index.data(kNameRole).toByteArray().toStdString();
    const std::string path = inFolder(currentPath_, name);
    if (isFolder(path)) showFolder(cleanFolder(path));
}

void FolderDialog::goUp() {
    if (currentPath_.empty()) return;
    if (currentPath_ == std::string(1, kPathSeparator)) {
        showFolder(std::string());  // above the root: the place that lists the root
        return;
    }
    // A parent removed meanwhile is skipped on the way up.
    fs::path parent = fs::path(currentPath_).parent_path();
    while (parent.has_relative_path() && !isFolder(parent.string())) parent = parent.parent_path();
    showFolder(parent.string());
}

void FolderDialog::openTypedFolder() {
    // Keyboard acceptance only opens the folder the name box names; it never
    // ends the dialog, so nothing but the mouse can accept.
    const std::string text = nameBox_->bytes();
    if (text.empty()) return;
    std::string path = text;
    if (fs::path(text).is_relative()) {
        if (currentPath_.empty()) return;
        path = inFolder(currentPath_, text);
    }
    if (isFolder(path)) showFolder(cleanFolder(path));
}

}  // namespace vantorel
