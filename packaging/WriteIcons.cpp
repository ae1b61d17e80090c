// Writes the program's main icon as PNG files for the desktop's icon theme:
//   vantorel-write-icons FOLDER SIZE...
// makes FOLDER/SIZExSIZE/apps/vantorel-patent-downloader.png for each size.
#include <QDir>
#include <QGuiApplication>
#include <QImage>

#include <cstdio>
#include <cstdlib>
#include <string>

#include VANTOREL_ARTWORK_HEADER

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fputs("usage: vantorel-write-icons FOLDER SIZE...\n", stderr);
        return 2;
    }
    // Drawing needs no screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString folder = QString::fromLocal8Bit(argv[1]);
    for (int i = 2; i < argc; ++i) {
        char* end = nullptr;
        const long size = std::strtol(argv[i], &end, 10);
        if (*end != '\0' || size < 16 || size > 512) {
            std::fprintf(stderr, "vantorel-write-icons: not a size: %s\n", argv[i]);
            return 2;
        }
        // Magenta is the icon's mask colour, as in the window's own icon.
        QImage image =
            vantorel::mainIconImage(static_cast<int>(size)).convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixel(x, y) == qRgb(255, 0, 255)) image.setPixel(x, y, qRgba(0, 0, 0, 0));
        const QString dir = folder + QStringLiteral("/%1x%1/apps").arg(size);
        const QString file = dir + QStringLiteral("/vantorel-patent-downloader.png");
        if (!QDir().mkpath(dir) || !image.save(file, "PNG")) {
            std::fprintf(stderr, "vantorel-write-icons: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
