#include "app/win32/ContainerWindow.h"

namespace vantorel::ContainerWindow {

namespace {

LRESULT forwardToParent(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (HWND parent = GetParent(window)) return SendMessageA(parent, message, wParam, lParam);
    return 0;
}

LRESULT CALLBACK pageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
        case WM_NOTIFY:
            return forwardToParent(window, message, wParam, lParam);
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}

LRESULT CALLBACK panelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        RECT bevel;
        GetClientRect(window, &bevel);
        DrawEdge(dc, &bevel, BDR_RAISEDINNER, BF_RECT);
        EndPaint(window, &paint);
        return 0;
    }
    return pageProc(window, message, wParam, lParam);
}

void registerClass(HINSTANCE instance, const char* name, WNDPROC procedure) {
    WNDCLASSEXA windowClass{};
    if (GetClassInfoExA(instance, name, &windowClass)) return;
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = name;
    RegisterClassExA(&windowClass);
}

}  // namespace

void registerClasses(HINSTANCE instance) {
    registerClass(instance, kPanelClass, panelProc);
    registerClass(instance, kPageClass, pageProc);
}

}  // namespace vantorel::ContainerWindow
