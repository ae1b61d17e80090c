#include "app/qt/Artwork.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace vantorel {

namespace {

const QList<QRgb>& bannerPalette() {
    static const QList<QRgb> palette = {
        qRgb(255, 255, 255),  // background, the transparent colour
        qRgb(20, 40, 90),    qRgb(30, 60, 120),   qRgb(43, 90, 168),   qRgb(74, 124, 200),
        qRgb(143, 179, 230), qRgb(214, 228, 247), qRgb(232, 116, 30),  qRgb(244, 168, 104),
        qRgb(64, 64, 64),    qRgb(128, 128, 128), qRgb(192, 192, 192), qRgb(232, 232, 232),
        qRgb(0, 0, 0),       qRgb(90, 120, 150),  qRgb(46, 139, 139),  qRgb(251, 224, 200),
    };
    return palette;
}

QList<QRgb> iconPalette() {
    QList<QRgb> palette;
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b) palette.append(qRgb(r * 51, g * 51, b * 51));
    for (int i = 0; i < 40; ++i) palette.append(qRgb(i * 255 / 39, i * 255 / 39, i * 255 / 39));
    return palette;
}

// A page with a folded corner and a downward arrow, scaled into `box`.
void drawDocument(QPainter& p, const QRectF& box, const QColor& paper, const QColor& ink,
                  const QColor& arrow) {
    const qreal w = box.width(), h = box.height(), fold = w * 0.3;
    QPainterPath page;
    page.moveTo(box.left(), box.top());
    page.lineTo(box.right() - fold, box.top());
    page.lineTo(box.right(), box.top() + fold);
    page.lineTo(box.right(), box.bottom());
    page.lineTo(box.left(), box.bottom());
    page.closeSubpath();
    p.setPen(QPen(ink, std::max<qreal>(1.0, w / 16)));
    p.setBrush(paper);
    p.drawPath(page);
    p.drawLine(QPointF(box.right() - fold, box.top()),
               QPointF(box.right() - fold, box.top() + fold));
    p.drawLine(QPointF(box.right() - fold, box.top() + fold),
               QPointF(box.right(), box.top() + fold));

    QPainterPath down;
    const qreal cx = box.center().x(), shaft = w * 0.14;
    down.moveTo(cx - shaft, box.top() + h * 0.35);
    down.lineTo(cx + shaft, box.top() + h * 0.35);
    down.lineTo(cx + shaft, box.top() + h * 0.6);
    down.lineTo(cx + shaft * 2.4, box.top() + h * 0.6);
    down.lineTo(cx, box.top() + h * 0.88);
    down.lineTo(cx - shaft * 2.4, box.top() + h * 0.6);
    down.lineTo(cx - shaft, box.top() + h * 0.6);
    down.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(arrow);
    p.drawPath(down);
}

}  // namespace

QImage bannerBitmap() {
    const QList<QRgb>& palette = bannerPalette();
    QImage canvas(285, 73, QImage::Format_RGB32);
    canvas.fill(palette[0]);
    {
        QPainter p(&canvas);
        p.setRenderHint(QPainter::Antialiasing);
        drawDocument(p, QRectF(12, 8, 40, 54), QColor(palette[6]), QColor(palette[1]),
                     QColor(palette[7]));

        QFont title(QStringLiteral("DejaVu Sans"));
        title.setPixelSize(28);
        title.setBold(true);
        p.setFont(title);
        p.setPen(QColor(palette[1]));
        p.drawText(QPointF(64, 36), QStringLiteral("Vantorel"));

        QFont subtitle(QStringLiteral("DejaVu Sans"));
        subtitle.setPixelSize(14);
        p.setFont(subtitle);
        p.setPen(QColor(palette[3]));
        p.drawText(QPointF(66, 55), QStringLiteral("Patent Downloader"));

        QLinearGradient band(64, 0, 278, 0);
        band.setColorAt(0, QColor(palette[1]));
        band.setColorAt(0.6, QColor(palette[4]));
        band.setColorAt(1, QColor(palette[6]));
        p.setPen(Qt::NoPen);
        p.setBrush(band);
        p.drawRect(QRectF(64, 61, 214, 3));
        p.setBrush(QColor(palette[7]));
        p.drawRect(QRectF(64, 65, 40, 2));
    }
    QImage bitmap = canvas.convertToFormat(QImage::Format_Indexed8, palette,
                                           Qt::ThresholdDither | Qt::AvoidDither);
    // The transparent colour is whatever the bottom-left pixel holds: keep it the background.
    bitmap.setPixel(0, bitmap.height() - 1, 0);
    return bitmap;
}

QImage transparentBanner(const QImage& bitmap) {
    QImage keyed = bitmap;
    const QRgb key = bitmap.pixel(0, bitmap.height() - 1);
    QList<QRgb> colours = keyed.colorTable();
    for (QRgb& colour : colours)
        if (qRed(colour) == qRed(key) && qGreen(colour) == qGreen(key) &&
            qBlue(colour) == qBlue(key))
            colour = qRgba(0, 0, 0, 0);
    keyed.setColorTable(colours);
    return keyed.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QImage mainIconImage(int size) {
    QImage canvas(size, size, QImage::Format_RGB32);
    canvas.fill(qRgb(255, 0, 255));
    {
        QPainter p(&canvas);
        p.setRenderHint(QPainter::Antialiasing, size > 16);
        const qreal margin = size / 8.0;
        drawDocument(p, QRectF(margin, 0.5, size - 2 * margin, size - 1.5), QColor(214, 228, 247),
                     QColor(20, 40, 90), QColor(232, 116, 30));
    }
    return canvas.convertToFormat(QImage::Format_Indexed8, iconPalette(),
                                  Qt::ThresholdDither | Qt::AvoidDither);
}

QIcon mainIcon() {
    QIcon icon;
    for (const int size : {16, 32}) {
        // Magenta is the icon's mask colour, as in a classic icon's AND mask.
        QImage image = mainIconImage(size).convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x)
                if (image.pixel(x, y) == qRgb(255, 0, 255)) image.setPixel(x, y, qRgba(0, 0, 0, 0));
        icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}

}  // namespace vantorel
