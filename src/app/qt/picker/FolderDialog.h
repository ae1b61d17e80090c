#pragma once

#include <QDialog>
#include <string>
#include <vector>

class QModelIndex;
class QPushButton;
class QStandardItemModel;

namespace vantorel {

class FolderListView;
class SingleLineEdit;

// A dialog that browses folders only: an Up button, the list of the shown
// folder's subfolders, a name box and Open/Cancel. It has no notion of a
// chosen folder; TImplOpenDirectory follows its notifications and decides.
//
// Notifications: shown() once, when the controls are arranged and placed;
// folderChanged() for the initial folder and after every navigation, with the
// folder's full path, or empty for the place above the root, which is no
// folder; finished() when it ends, whatever the outcome.
//
// Paths are the file system's own bytes: a folder whose name is not UTF-8 is
// listed (shown as Windows-1252) and reported byte for byte.
class FolderDialog : public QDialog {
    Q_OBJECT
public:
    explicit FolderDialog(QWidget* parent = nullptr);

    void setInitialFolder(const std::string& folder) { initialFolder_ = folder; }
    void setSizingEnabled(bool enabled);
    // Puts the working directory back when the dialog ends.
    void setRestoresWorkingDirectory(bool restore) { restoreWorkingDirectory_ = restore; }

    // The folder shown; empty above the root.
    const std::string& currentPath() const { return currentPath_; }

    // The names of the visible subfolders of `folder`, in the file system's order.
    static std::vector<std::string> subfolderNames(const std::string& folder);

    // Where the listed items keep their names' bytes.
    static constexpr int kNameRole = Qt::UserRole;

    // Where a dialog of `size` goes on `screen`: centred across, its top a
    // third of the spare height down.
    static QPoint placement(const QRect& screen, const QSize& size);

    void done(int result) override;

signals:
    void shown();
    void folderChanged(const std::string& path);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void showFolder(const std::string& folder);
    void listFolder();
    void openIndex(const QModelIndex& index);
    void goUp();
    void openTypedFolder();
    void placeOnScreen();

    QStandardItemModel* model_;
    FolderListView* list_;
    SingleLineEdit* nameBox_;
    QPushButton* upButton_;
    QPushButton* acceptButton_;
    std::string initialFolder_;
    std::string currentPath_;
    std::string savedWorkingDirectory_;
    bool restoreWorkingDirectory_ = false;
    bool opened_ = false;
    bool folderShown_ = false;
};

}  // namespace vantorel
