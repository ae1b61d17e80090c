#pragma once

#include <QListView>

namespace vantorel {

// The picker's folder list. It reports a left-button press after the view has
// moved its selection, so a listener sees the item the user just clicked (none
// for a press on empty space), and opens the current folder on Enter without
// letting the key reach the dialog.
class FolderListView : public QListView {
    Q_OBJECT
public:
    explicit FolderListView(QWidget* parent = nullptr);

signals:
    void leftPressed();
    void openRequested(const QModelIndex& index);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace vantorel
