#include "app/qt/WindowFont.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>
#include <algorithm>

#include "platform/TextRules.h"

namespace vantorel {

namespace {
constexpr int kDesignPixelSize = 11;
constexpr int kDesignStretch = 78;
}  // namespace

QFont windowFont(int dotsPerInch) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(std::max(1, roundHalfEven(kDesignPixelSize * dotsPerInch / 96.0)));
    font.setStretch(kDesignStretch);
    return font;
}

double layoutScale(const QFont& scaledFont) {
    QFont design = scaledFont;
    design.setPixelSize(kDesignPixelSize);
    const int designHeight = QFontMetrics(design).height();
    if (designHeight <= 0) return 1.0;
    return static_cast<double>(QFontMetrics(scaledFont).height()) / designHeight;
}

int screenDotsPerInch() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? roundHalfEven(screen->logicalDotsPerInch()) : 96;
}

}  // namespace vantorel
