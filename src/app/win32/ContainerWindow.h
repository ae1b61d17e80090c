#pragma once

#include <windows.h>

namespace vantorel {

// Window classes for the windows that only hold controls: the banner panel
// (a raised one-pixel bevel) and the tab pages. Both pass their controls'
// notifications on to their parent, so the main window sees them all.
namespace ContainerWindow {

inline constexpr const char* kPanelClass = "TPanel";
inline constexpr const char* kPageClass = "TTabSheet";

void registerClasses(HINSTANCE instance);

}  // namespace ContainerWindow
}  // namespace vantorel
