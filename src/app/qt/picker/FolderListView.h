#pragma once

#include <QListView>

namespace vantorel {

// The picker's folder list. It reports a left-button press after the view has
// moved its selection, so a listener sees the item the user just clicked (none
// for a press on empty space), and opens the current folder on Enter without
// letting the key reach the dialog. Dragging with the button held does not move
// the highlight, and the release is reported too, so what is highlighted when
// the button comes up is what a listener reads.
class FolderListView : public QListView {
    Q_OBJECT
public:
    explicit FolderListView(QWidget* parent = nullptr);

signals:
    void leftPressed();
    void leftReleased();
    void openRequested(const QModelIndex& index);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace vantorel
