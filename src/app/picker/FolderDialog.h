#pragma once

#include <QDialog>
#include <QString>

class QFileSystemModel;
class QLineEdit;
class QPushButton;

namespace vantorel {

class FolderListView;

// A dialog that browses folders only: an Up button, the list of the shown
// folder's subfolders, a name box and Open/Cancel. It has no notion of a
// chosen folder; TImplOpenDirectory follows its notifications and decides.
//
// Notifications: shown() once, when the controls are arranged and placed;
// folderChanged() for the initial folder and after every navigation, with the
// folder's full path, or empty for the place above the root, which is no
// folder; finished() when it ends, whatever the outcome.
class FolderDialog : public QDialog {
    Q_OBJECT
public:
    explicit FolderDialog(QWidget* parent = nullptr);

    void setInitialFolder(const QString& folder) { initialFolder_ = folder; }
    void setSizingEnabled(bool enabled);
    // Puts the working directory back when the dialog ends.
    void setRestoresWorkingDirectory(bool restore) { restoreWorkingDirectory_ = restore; }

    // The folder shown; empty above the root.
    const QString& currentPath() const { return currentPath_; }

    // Where a dialog of `size` goes on `screen`: centred across, its top a
    // third of the spare height down.
    static QPoint placement(const QRect& screen, const QSize& size);

    void done(int result) override;

signals:
    void shown();
    void folderChanged(const QString& path);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void showFolder(const QString& folder);
    void openIndex(const QModelIndex& index);
    void goUp();
    void openTypedFolder();
    void placeOnScreen();

    QFileSystemModel* model_;
    FolderListView* list_;
    QLineEdit* nameBox_;
    QPushButton* upButton_;
    QPushButton* acceptButton_;
    QString initialFolder_;
    QString currentPath_;
    QString savedWorkingDirectory_;
    bool restoreWorkingDirectory_ = false;
    bool opened_ = false;
    bool folderShown_ = false;
};

}  // namespace vantorel
