#pragma once

#include <windows.h>

namespace vantorel {

// The banner picture: the bitmap drawn at its own size at the top-left
// corner, every pixel of its bottom-left pixel's colour left undrawn; the
// hand cursor over the whole rectangle, and a click anywhere in it sent to
// the parent as WM_COMMAND with STN_CLICKED.
namespace BannerPicture {

inline constexpr const char* kClassName = "TImage";

void registerClass(HINSTANCE instance);

// The window's creation parameter: the bitmap, which the caller keeps alive.
struct Params {
    HBITMAP bitmap;
};

// The colour drawn transparently: the bitmap's bottom-left pixel.
COLORREF transparentColour(HBITMAP bitmap);

}  // namespace BannerPicture
}  // namespace vantorel
