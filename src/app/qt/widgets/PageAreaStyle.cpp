#include "app/qt/widgets/PageAreaStyle.h"

#include <QStyleOption>

namespace vantorel {

PageAreaStyle::PageAreaStyle(int sideMargin) : sideMargin_(sideMargin) {}

QRect PageAreaStyle::subElementRect(SubElement element, const QStyleOption* option,
                                    const QWidget* widget) const {
    QRect area = QProxyStyle::subElementRect(element, option, widget);
    if (element == SE_TabWidgetTabContents && option) {
        area.setLeft(option->rect.left() + sideMargin_);
        area.setRight(option->rect.right() - sideMargin_);
    }
    return area;
}

}  // namespace vantorel
