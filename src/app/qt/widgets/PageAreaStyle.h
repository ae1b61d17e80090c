#pragma once

#include <QProxyStyle>

namespace vantorel {

// The tab control's page area as the platform lays it out: four pixels in
// from the control's left and right edges (at 96 dpi), so a 437-pixel control
// has a 429-pixel page and boxes that span the page reach its edges.
class PageAreaStyle : public QProxyStyle {
    Q_OBJECT
public:
    explicit PageAreaStyle(int sideMargin);

    QRect subElementRect(SubElement element, const QStyleOption* option,
                         const QWidget* widget) const override;

private:
    int sideMargin_;
};

}  // namespace vantorel
