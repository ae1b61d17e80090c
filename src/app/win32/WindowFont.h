#pragma once

#include <windows.h>

namespace vantorel {

// The window's one font: "MS Sans Serif" 8 points, or a substitute whose line
// is 13 pixels high at 96 dpi, scaled to the screen's density. Every position
// of the layout is multiplied by scale().
class WindowFont {
public:
    explicit WindowFont(int dotsPerInch);
    ~WindowFont();
    WindowFont(const WindowFont&) = delete;
    WindowFont& operator=(const WindowFont&) = delete;

    HFONT handle() const { return font_; }
    int lineHeight() const { return lineHeight_; }
    double scale() const { return lineHeight_ / 13.0; }
    // The width of a text drawn in this font.
    int textWidth(const char* text) const;

    static int screenDotsPerInch();

private:
    HFONT font_ = nullptr;
    int lineHeight_ = 13;
};

}  // namespace vantorel
