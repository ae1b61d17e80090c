#pragma once

#include <QIcon>
#include <QImage>

namespace vantorel {

// The program's own artwork: the banner and icon files both windows load.

// The banner: 285 x 73, 8 bits per pixel, a 17-colour palette; its
// bottom-left pixel holds the colour that is drawn transparently.
QImage bannerBitmap();

// The banner as it is painted: every pixel of the bottom-left pixel's colour
// made fully transparent.
QImage transparentBanner(const QImage& bitmap);

// One image of the main icon, `size` x `size`, 8 bits per pixel, 256 colours.
QImage mainIconImage(int size);

// The main icon with its 16 x 16 and 32 x 32 images.
QIcon mainIcon();

}  // namespace vantorel
