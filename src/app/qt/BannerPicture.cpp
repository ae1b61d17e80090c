#include "app/qt/BannerPicture.h"

#include <QMouseEvent>
#include <QPainter>

#include "app/qt/Artwork.h"

namespace vantorel {

BannerPicture::BannerPicture(const QImage& bitmap, QWidget* parent)
    : QWidget(parent), bitmap_(bitmap), painted_(transparentBanner(bitmap)) {
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
}

void BannerPicture::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), painted_);
}

void BannerPicture::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
}

void BannerPicture::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = pressed_ && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    pressed_ = false;
    if (click) emit clicked();
}

}  // namespace vantorel
