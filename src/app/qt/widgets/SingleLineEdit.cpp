#include "app/qt/widgets/SingleLineEdit.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <limits>
#include <memory>

#include "app/qt/widgets/LineBreakValidator.h"
#include "app/qt/widgets/QtText.h"
#include "form/PatentPaste.h"
#include "platform/TextRules.h"

namespace vantorel {

SingleLineEdit::SingleLineEdit(QWidget* parent) : QLineEdit(parent) {
    // The toolkit's default cuts at 32767 characters: a long request would be sent cut short.
    setMaxLength(std::numeric_limits<int>::max());
    setValidator(new LineBreakValidator(this));
}

void SingleLineEdit::setBytes(const std::string& bytes) {
    // Set before the text, so a change handler that runs meanwhile reads them.
    shownFrom_ = firstLine(bytes);
    setText(displayString(shownFrom_));
}

std::string SingleLineEdit::bytes() const {
    return bytesOfShown(text(), shownFrom_);
}

void SingleLineEdit::keyPressEvent(QKeyEvent* event) {
    if (pastesColumns_ && event->matches(QKeySequence::Paste)) {
        pasteColumn(QClipboard::Clipboard);
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void SingleLineEdit::contextMenuEvent(QContextMenuEvent* event) {
    if (!pastesColumns_) {
        QLineEdit::contextMenuEvent(event);
        return;
    }
    const std::unique_ptr<QMenu> menu(createStandardContextMenu());
    if (auto* paste = menu->findChild<QAction*>("edit-paste")) {
        paste->disconnect();
        connect(paste, &QAction::triggered, this, [this] { pasteColumn(QClipboard::Clipboard); });
    }
    menu->exec(event->globalPos());
}

void SingleLineEdit::mouseReleaseEvent(QMouseEvent* event) {
    // X11's middle button pastes the primary selection.
    if (pastesColumns_ && event->button() == Qt::MiddleButton &&
        QApplication::clipboard()->supportsSelection()) {
        deselect();
        pasteColumn(QClipboard::Selection);
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

void SingleLineEdit::pasteColumn(QClipboard::Mode mode) {
    if (isReadOnly()) return;
    const QString pasted = QApplication::clipboard()->text(mode);
    if (pasted.isEmpty()) return;
    const QString shown = text();
    const int start = hasSelectedText() ? selectionStart() : cursorPosition();
    const int end = hasSelectedText() ? selectionEnd() : start;
    // insert() replaces the selection and keeps the paste undoable.
    insert(QString::fromStdString(PatentPaste::replacement(
        shown.left(start).toStdString(), pasted.toStdString(), shown.mid(end).toStdString())));
}

}  // namespace vantorel
