// TMainForm's keyboard rules, its message loop and the pump that keeps it
// alive during a transfer.
#include <windows.h>
// after windows.h, which it needs
#include <commctrl.h>

#include <vector>

#include "app/win32/TMainForm.h"
#include "form/FormDesign.h"

namespace vantorel {

namespace {

bool keyDown(int key) {
    return GetKeyState(key) < 0;
}

bool isPushButton(HWND window) {
    char name[16] = {};
    GetClassNameA(window, name, sizeof name);
    if (lstrcmpiA(name, "Button") != 0) return false;
    const auto type = GetWindowLongPtrA(window, GWL_STYLE) & BS_TYPEMASK;
    return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
}

bool isEdit(HWND window) {
    char name[16] = {};
    GetClassNameA(window, name, sizeof name);
    return lstrcmpiA(name, "Edit") == 0;
}

}  // namespace

bool TMainForm::focusInTabControl() const {
    HWND focus = GetFocus();
    if (!focus) return false;
    if (focus == PageControl1) return true;
    for (HWND page : {TabSheet1, TabSheet2, TabSheet3})
        if (IsChild(page, focus)) return true;
    return false;
}

bool TMainForm::pressDefaultButton() {
    const ControlDesign* design = defaultButtonOf(activeTab());
    HWND button = design ? control(design->name) : nullptr;
    if (!button || !IsWindowEnabled(button)) return false;
    SendMessageA(button, BM_CLICK, 0, 0);
    return true;
}

std::vector<HWND> TMainForm::tabStops() const {
    // The design's order, the tab strip first; hidden and disabled controls,
    // and radio choices that are not the group's stop, are skipped.
    std::vector<HWND> order;
    for (const ControlDesign& design : mainFormControls()) {
        if (!takesFocus(design.kind)) continue;
        if (design.kind == ControlKind::RadioGroup)
            order.insert(order.end(), std::begin(RadioChoices), std::end(RadioChoices));
        else
            order.push_back(control(design.name));
    }
    std::vector<HWND> stops;
    for (HWND stop : order)
        if (IsWindowVisible(stop) && IsWindowEnabled(stop) &&
            (GetWindowLongPtrA(stop, GWL_STYLE) & WS_TABSTOP))
            stops.push_back(stop);
    return stops;
}

void TMainForm::moveFocus(bool backwards) {
    const std::vector<HWND> stops = tabStops();
    if (stops.empty()) return;
    HWND focus = GetFocus();
    const auto count = static_cast<int>(stops.size());
    int at = -1;
    for (int i = 0; i < count; ++i)
        if (stops[i] == focus) at = i;
    const int next =
        at < 0 ? (backwards ? count - 1 : 0) : (at + (backwards ? count - 1 : 1)) % count;
    SetFocus(stops[next]);
    // An edit reached by the keyboard shows its whole text selected.
    if (isEdit(stops[next])) SendMessageA(stops[next], EM_SETSEL, 0, -1);
}

void TMainForm::switchTab(bool backwards) {
    const int tab = (activeTab() + (backwards ? 2 : 1)) % 3;
    HWND focus = GetFocus();
    const bool inPage = focus && focus != PageControl1;
    selectTab(tab);
    // The focus moves along into the new page, onto its first control.
    if (inPage) {
        const std::vector<HWND> stops = tabStops();
        SetFocus(stops.size() > 1 ? stops[1] : PageControl1);
    }
}

bool TMainForm::preTranslateMessage(MSG& message) {
    if (!window_ || (message.hwnd != window_ && !IsChild(window_, message.hwnd))) return false;
    if (message.message == WM_KEYDOWN) {
        const bool ctrl = keyDown(VK_CONTROL), shift = keyDown(VK_SHIFT), alt = keyDown(VK_MENU);
        switch (message.wParam) {
            case VK_TAB:
                if (alt) break;
                if (ctrl) {
                    if (focusInTabControl()) switchTab(shift);
                } else {
                    moveFocus(shift);
                }
                return true;
            case VK_RETURN:
                if (shift || ctrl || alt) return true;
                if (isPushButton(GetFocus())) {
                    SendMessageA(GetFocus(), BM_CLICK, 0, 0);
                } else if (focusInTabControl()) {
                    pressDefaultButton();
                }
                return true;
            case VK_ESCAPE:
                return true;  // no cancel button
            default:
                break;
        }
    }
    // Arrow keys through a radio group, Space on buttons and the rest.
    return IsDialogMessageA(window_, &message) != FALSE;
}

int TMainForm::runMessageLoop() {
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (preTranslateMessage(message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}

void TMainForm::processEvents() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            // Left for the message loop, which ends the program after the run.
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        if (preTranslateMessage(message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

}  // namespace vantorel
