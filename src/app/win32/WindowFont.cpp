#include "app/win32/WindowFont.h"

#include <algorithm>
#include <cstring>

#include "platform/TextRules.h"

namespace vantorel {

namespace {

constexpr int kDesignCharHeight = 11;  // 8 points at 96 dpi
constexpr int kDesignLineHeight = 13;

// Texts whose width in "MS Sans Serif" 8 the layout is made for: a
// substitute face is narrowed until they fit again.
struct DesignWidth {
    const char* text;
    int width;
};
constexpr DesignWidth kDesignWidths[] = {
    {"Patents from other countries not listed above may also be available for download.", 381},
    {"Enter patent number*:", 103},
    {"Local folder for downloaded patents:", 172},
};

HFONT makeFont(const char* face, int charHeight, int charWidth = 0) {
    LOGFONTA font{};
    font.lfHeight = -charHeight;
    font.lfWidth = charWidth;
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfQuality = DEFAULT_QUALITY;
    font.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
    std::strncpy(font.lfFaceName, face, LF_FACESIZE - 1);
    return CreateFontIndirectA(&font);
}

struct Measure {
    bool faceFound;
    int lineHeight;
    int averageWidth;
};

Measure measure(HFONT font, const char* face) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    char shown[LF_FACESIZE] = {};
    GetTextFaceA(dc, LF_FACESIZE, shown);
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return {lstrcmpiA(shown, face) == 0, static_cast<int>(metrics.tmHeight),
            static_cast<int>(metrics.tmAveCharWidth)};
}

int widthIn(HFONT font, const char* text) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    SIZE size{};
    GetTextExtentPoint32A(dc, text, lstrlenA(text), &size);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return size.cx;
}

bool fitsDesign(HFONT font, int dotsPerInch) {
    for (const DesignWidth& design : kDesignWidths)
        if (widthIn(font, design.text) > design.width * dotsPerInch / 96) return false;
    return true;
}

}  // namespace

WindowFont::WindowFont(int dotsPerInch) {
    const int charHeight = std::max(1, roundHalfEven(kDesignCharHeight * dotsPerInch / 96.0));
    // The layout assumes a 13-pixel line at 96 dpi: take the first face that
    // is present and gives it, else the mapper's choice for the first.
    const char* const faces[] = {"MS Sans Serif", "Microsoft Sans Serif", "Tahoma", "Arial",
                                 "DejaVu Sans"};
    const char* chosen = faces[0];
    for (const char* face : faces) {
        HFONT probe = makeFont(face, kDesignCharHeight);
        const Measure seen = measure(probe, face);
        DeleteObject(probe);
        if (seen.faceFound && seen.lineHeight == kDesignLineHeight) {
            chosen = face;
            break;
        }
    }
    font_ = makeFont(chosen, charHeight);
    const Measure natural = measure(font_, chosen);
    lineHeight_ = natural.lineHeight > 0 ? natural.lineHeight : kDesignLineHeight;
    // A wider substitute is narrowed, never shortened, so the line stays 13 high.
    for (int width = natural.averageWidth - 1; width > 0 && !fitsDesign(font_, dotsPerInch);
         --width) {
        DeleteObject(font_);
        font_ = makeFont(chosen, charHeight, width);
    }
}

WindowFont::~WindowFont() {
    if (font_) DeleteObject(font_);
}

int WindowFont::textWidth(const char* text) const {
    return widthIn(font_, text);
}

int WindowFont::screenDotsPerInch() {
    HDC dc = GetDC(nullptr);
    const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(nullptr, dc);
    return dpi > 0 ? dpi : 96;
}

}  // namespace vantorel
