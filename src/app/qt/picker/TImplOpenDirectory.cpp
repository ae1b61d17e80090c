#include "app/qt/picker/TImplOpenDirectory.h"

#include <QAbstractButton>
#include <QMouseEvent>

#include "app/qt/picker/FolderDialog.h"
#include "app/qt/picker/FolderListView.h"
#include "app/qt/picker/TOpenDirectory.h"
#include "app/qt/widgets/QtText.h"
#include "app/qt/widgets/SingleLineEdit.h"
#include "platform/Paths.h"
#include "settings/FolderResult.h"

namespace vantorel {
namespace {

void raise(const TNotifyEvent& event, QObject* sender) {
    if (event) event(sender);
}

}  // namespace

TImplOpenDirectory::TImplOpenDirectory(TOpenDirectory* owner)
    : Owner(owner), networkNameSource(&systemNetworkNames) {}

TImplOpenDirectory::~TImplOpenDirectory() = default;

int TImplOpenDirectory::Execute() {
    CurrentFolder.clear();
    Owner->Directory.clear();
    Owner->UNCDirectory.clear();
    // Shares come and go; each run looks again.
    networkNames = networkNameSource ? networkNameSource() : NetworkNameLookup();
    closed = false;

    // Parented to the window so that it stays above it and opens on its screen.
    Dialog = std::make_unique<FolderDialog>(qobject_cast<QWidget*>(Owner->parent()));
    connect(Dialog.get(), &FolderDialog::shown, this, &TImplOpenDirectory::Prepare);
    connect(Dialog.get(), &FolderDialog::folderChanged, this, &TImplOpenDirectory::FolderChange);
    connect(Dialog.get(), &QDialog::finished, this, &TImplOpenDirectory::Close);

    if (!Owner->Title.empty()) Dialog->setWindowTitle(displayString(Owner->Title));
    Dialog->setSizingEnabled(Owner->EnableSizing);
    Dialog->setRestoresWorkingDirectory(Owner->NoChangeDir);
    Dialog->setInitialFolder(pickerInitialFolder(Owner->InitialDir, currentDirectory()));

    Accepted = false;
    Dialog->exec();  // its own outcome says nothing; Accepted does
    Close();         // in case the dialog went without finishing

    const int result =
        endPickerRun(Accepted, Owner->Directory, Owner->UNCDirectory, Owner->NoChangeDir);
    if (AcceptButton) AcceptButton->removeEventFilter(this);
    Dialog.reset();
    return result;
}

void TImplOpenDirectory::Prepare() {
    // The controls of this run's dialog; a missing one leaves its behaviour out.
    AcceptButton = Dialog->findChild<QAbstractButton*>("acceptButton");
    FolderList = Dialog->findChild<FolderListView*>("folderList");
    NameBox = Dialog->findChild<SingleLineEdit*>("nameBox");
    if (AcceptButton) AcceptButton->installEventFilter(this);
    if (FolderList) {
        // Read again on release, so the folder picked is the one highlighted.
        connect(FolderList, &FolderListView::leftPressed, this, &TImplOpenDirectory::ListClick);
        connect(FolderList, &FolderListView::leftReleased, this, &TImplOpenDirectory::ListClick);
    }
    raise(Owner->OnShow, this);
}

void TImplOpenDirectory::FolderChange(const std::string& reportedPath) {
    // The dialog reports the folder it shows directly, so no working
    // directory is needed to know it.
    CurrentFolder = reportedPath;
    showInNameBox(CurrentFolder);
    Owner->Directory = CurrentFolder;
    Owner->UNCDirectory = networkForm(CurrentFolder, networkNames);
    raise(Owner->OnFolderChange, this);
}

void TImplOpenDirectory::ListClick() {
    if (!FolderList || !FolderList->selectionModel()) return;
    QModelIndex first;
    for (const QModelIndex& index : FolderList->selectionModel()->selectedIndexes())
        if (index.column() == 0 && (!first.isValid() || index.row() < first.row())) first = index;
    const std::string name =
        first.isValid() ? first.data(FolderDialog::kNameRole).toByteArray().toStdString() : "";
    const std::string path = listClickPath(CurrentFolder, name);
    if (path.empty()) return;  // empty space keeps the last folder
    showInNameBox(path);
    Owner->Directory = path;
    Owner->UNCDirectory = networkForm(path, networkNames);
}

void TImplOpenDirectory::Close() {
    if (closed) return;
    closed = true;
    raise(Owner->OnClose, this);
}

void TImplOpenDirectory::showInNameBox(const std::string& path) {
    TextBuffer = path;
    if (NameBox) NameBox->setBytes(TextBuffer);
}

bool TImplOpenDirectory::eventFilter(QObject* watched, QEvent* event) {
    // The type is checked first: while the dialog is torn down the button is
    // no longer a button, and only its release matters anyway.
    if (event->type() == QEvent::MouseButtonRelease && watched == AcceptButton.data())
        return acceptButtonRelease(event);
    return QObject::eventFilter(watched, event);
}

// Only a left click on the accept button accepts, and only while a folder is
// shown. The release is kept from the button, so its click (which the dialog
// treats as a keyboard acceptance) never runs; the dialog is closed instead.
bool TImplOpenDirectory::acceptButtonRelease(QEvent* event) {
    auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() != Qt::LeftButton) return false;
    if (!AcceptButton->rect().contains(mouse->position().toPoint())) return false;
    AcceptButton->setDown(false);
    if (CurrentFolder.empty()) return true;
    Accepted = true;
    FolderDialog* dialog = Dialog.get();
    QMetaObject::invokeMethod(
        dialog, [dialog] { dialog->close(); }, Qt::QueuedConnection);
    return true;
}

}  // namespace vantorel
