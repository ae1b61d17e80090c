#pragma once

#include <QFont>

namespace vantorel {

// The window's font. The layout was drawn for an 11-pixel sans serif whose
// line is 13 pixels high; DejaVu Sans at 11 pixels has that line height, and
// narrowed to 78 % its texts fit the label widths the layout gives.
QFont windowFont(int dotsPerInch);

// Multiplier for every position and size: the scaled font's line height over
// the line height at 96 dpi (13 pixels with the font above), so exactly 1 at 96 dpi.
double layoutScale(const QFont& scaledFont);

// The screen's logical density, or 96 when there is no screen.
int screenDotsPerInch();

}  // namespace vantorel
