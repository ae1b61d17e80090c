#pragma once

#include <QImage>
#include <QWidget>

namespace vantorel {

// The banner picture: the bitmap painted unscaled at the top-left corner with
// its transparent colour left out, the hand cursor over the whole rectangle,
// and a click anywhere inside it (transparent parts included) reported.
class BannerPicture : public QWidget {
    Q_OBJECT
public:
    explicit BannerPicture(const QImage& bitmap, QWidget* parent = nullptr);

    const QImage& bitmap() const { return bitmap_; }

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QImage bitmap_;
    QImage painted_;
    bool pressed_ = false;
};

}  // namespace vantorel
