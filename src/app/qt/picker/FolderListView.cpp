#include "app/qt/picker/FolderListView.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace vantorel {

FolderListView::FolderListView(QWidget* parent) : QListView(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setDragEnabled(false);
    setUniformItemSizes(true);
}

void FolderListView::mousePressEvent(QMouseEvent* event) {
    QListView::mousePressEvent(event);
    if (event->button() != Qt::LeftButton) return;
    // A press on empty space deselects, as in a file manager; the view alone
    // would keep an item the keyboard selected, and that item would count as clicked.
    if (!indexAt(event->position().toPoint()).isValid()) clearSelection();
    emit leftPressed();
}

void FolderListView::mouseMoveEvent(QMouseEvent* event) {
    // The highlight stays where the press put it, as in the platform's own list.
    if (event->buttons() & Qt::LeftButton) return event->accept();
    QListView::mouseMoveEvent(event);
}

void FolderListView::mouseReleaseEvent(QMouseEvent* event) {
    QListView::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton) emit leftReleased();
}

void FolderListView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        // Otherwise the dialog's default button would act on the same key.
        if (currentIndex().isValid()) emit openRequested(currentIndex());
        event->accept();
        return;
    }
    QListView::keyPressEvent(event);
}

}  // namespace vantorel
