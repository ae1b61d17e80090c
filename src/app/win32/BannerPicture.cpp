#include "app/win32/BannerPicture.h"

namespace vantorel::BannerPicture {

namespace {

constexpr const char* kPressed = "VantorelPressed";

HBITMAP bitmapOf(HWND window) {
    return reinterpret_cast<HBITMAP>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

void paint(HWND window) {
    PAINTSTRUCT paintInfo;
    HDC dc = BeginPaint(window, &paintInfo);
    if (HBITMAP bitmap = bitmapOf(window)) {
        BITMAP info{};
        GetObjectA(bitmap, sizeof info, &info);
        HDC source = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(source, bitmap);
        const COLORREF key = GetPixel(source, 0, info.bmHeight - 1);
        TransparentBlt(dc, 0, 0, info.bmWidth, info.bmHeight, source, 0, 0, info.bmWidth,
                       info.bmHeight, key);
        SelectObject(source, old);
        DeleteDC(source);
    }
    EndPaint(window, &paintInfo);
}

void notifyClick(HWND window) {
    const auto id = static_cast<WORD>(GetDlgCtrlID(window));
    SendMessageA(GetParent(window), WM_COMMAND, MAKEWPARAM(id, STN_CLICKED),
                 reinterpret_cast<LPARAM>(window));
}

LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_NCCREATE: {
            const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
            if (const auto* params = static_cast<const Params*>(create->lpCreateParams))
                SetWindowLongPtrA(window, GWLP_USERDATA,
                                  reinterpret_cast<LONG_PTR>(params->bitmap));
            break;
        }
        case WM_PAINT:
            paint(window);
            return 0;
        case WM_SETCURSOR:
            if (LOWORD(lParam) == HTCLIENT) {
                SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_HAND)));
                return TRUE;
            }
            break;
        case WM_LBUTTONDOWN:
            SetPropA(window, kPressed, reinterpret_cast<HANDLE>(1));
            SetCapture(window);
            return 0;
        case WM_LBUTTONUP: {
            // A click is a press and a release inside the rectangle,
            // transparent pixels included.
            const bool pressed = RemovePropA(window, kPressed) != nullptr;
            if (GetCapture() == window) ReleaseCapture();
            RECT client;
            GetClientRect(window, &client);
            const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            if (pressed && PtInRect(&client, at)) notifyClick(window);
            return 0;
        }
        case WM_DESTROY:
            RemovePropA(window, kPressed);
            break;
        default:
            break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

void registerClass(HINSTANCE instance) {
    WNDCLASSEXA windowClass{};
    if (GetClassInfoExA(instance, kClassName, &windowClass)) return;
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kClassName;
    RegisterClassExA(&windowClass);
}

COLORREF transparentColour(HBITMAP bitmap) {
    BITMAP info{};
    if (!GetObjectA(bitmap, sizeof info, &info)) return CLR_INVALID;
    HDC source = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(source, bitmap);
    const COLORREF key = GetPixel(source, 0, info.bmHeight - 1);
    SelectObject(source, old);
    DeleteDC(source);
    return key;
}

}  // namespace vantorel::BannerPicture
