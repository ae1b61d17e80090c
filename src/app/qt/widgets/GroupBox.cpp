#include "app/qt/widgets/GroupBox.h"

#include <qdrawutil.h>
#include <QPainter>
#include <QRegion>
#include <QStyle>
#include <algorithm>

namespace vantorel {

GroupBox::GroupBox(const QString& title, QWidget* parent) : QGroupBox(title, parent) {}

int GroupBox::frameTop() const {
    return fontMetrics().height() / 2;
}

QRect GroupBox::captionRect() const {
    // The platform leaves about 8 pixels of line before the caption and a
    // couple of blank pixels around its text, in proportion to the font.
    const int lineHeight = fontMetrics().height();
    const int gap = std::max(1, lineHeight / 6);
    const int left = lineHeight * 8 / 13 - gap;
    return QRect(left, 0, fontMetrics().horizontalAdvance(title()) + 2 * gap, lineHeight);
}

void GroupBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect caption = title().isEmpty() ? QRect() : captionRect();
    // The line stops short of the caption; whatever is behind the box shows there.
    painter.setClipRegion(QRegion(rect()).subtracted(QRegion(caption)));
    qDrawShadeRect(&painter, rect().adjusted(0, frameTop(), 0, 0), palette(), true, 1, 0);
    painter.setClipping(false);
    if (caption.isEmpty()) return;
    style()->drawItemText(&painter, caption, Qt::AlignCenter | Qt::TextHideMnemonic, palette(),
                          isEnabled(), title(), QPalette::WindowText);
}

}  // namespace vantorel
