#include "app/win32/picker/ModalScope.h"

namespace vantorel {

ModalScope::ModalScope(HWND owner) : owner(owner), active(GetActiveWindow()), focus(GetFocus()) {
    EnumThreadWindows(GetCurrentThreadId(), &ModalScope::disable, reinterpret_cast<LPARAM>(this));
}

ModalScope::~ModalScope() {
    for (HWND window : disabled)
        if (IsWindow(window)) EnableWindow(window, TRUE);
    if (active && IsWindow(active)) SetActiveWindow(active);
    if (focus && IsWindow(focus)) SetFocus(focus);
}

BOOL CALLBACK ModalScope::disable(HWND window, LPARAM data) {
    auto* scope = reinterpret_cast<ModalScope*>(data);
    if (window != scope->owner && IsWindowVisible(window) && IsWindowEnabled(window)) {
        EnableWindow(window, FALSE);
        scope->disabled.push_back(window);
    }
    return TRUE;
}

}  // namespace vantorel
