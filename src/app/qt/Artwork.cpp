#include "app/qt/Artwork.h"

#include <QImageReader>
#include <QPixmap>

// The artwork lives in a static library: its resources are registered by hand.
static void registerArtwork() {
    Q_INIT_RESOURCE(artwork);
}

namespace vantorel {

namespace {

// The two files the Windows window's resources hold as well.
QString artwork(const char* name) {
    static const bool registered = (registerArtwork(), true);
    (void)registered;
    return QStringLiteral(":/art/") + QString::fromLatin1(name);
}

}  // namespace

QImage bannerBitmap() {
    return QImage(artwork("banner.bmp"));
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
    QImageReader reader(artwork("main.ico"));
    for (int i = 0; i < reader.imageCount(); ++i) {
        reader.jumpToImage(i);
        QImage image = reader.read();
        if (image.width() == size && image.height() == size) return image;
    }
    return {};
}

QIcon mainIcon() {
    QIcon icon;
    for (const int size : {16, 32}) icon.addPixmap(QPixmap::fromImage(mainIconImage(size)));
    return icon;
}

}  // namespace vantorel
