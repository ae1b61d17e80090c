#include "app/win32/MessageWindow.h"

#include <algorithm>
#include <cstring>

#include "form/UserDialogs.h"
#include "platform/TextRules.h"

namespace vantorel {

namespace {

constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

void registerClass(HINSTANCE instance, WNDPROC procedure) {
    WNDCLASSEXA windowClass{};
    if (GetClassInfoExA(instance, MessageWindow::kClassName, &windowClass)) return;
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = MessageWindow::kClassName;
    RegisterClassExA(&windowClass);
}

SIZE measureText(const std::string& text, HFONT font, int maxWidth) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    RECT area{0, 0, maxWidth, 0};
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &area,
              DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return {std::min<LONG>(area.right - area.left, maxWidth), area.bottom - area.top};
}

}  // namespace

MessageWindow::MessageWindow(HWND owner, const std::string& text, HFONT font, double scale) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    registerClass(instance, procedure);
    const auto s = [scale](int pixels) { return roundHalfEven(pixels * scale); };
    const std::string shown = withLineBreaks(text, "\r\n");

    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    const SIZE textSize = measureText(shown, font, screenWidth / 2);
    const int margin = s(12), buttonWidth = s(75), buttonHeight = s(25);
    int clientWidth = std::max<int>(textSize.cx, buttonWidth) + 2 * margin;
    const int clientHeight = margin + textSize.cy + margin + buttonHeight + margin;
    RECT outer{0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&outer, kStyle, FALSE, kExStyle);
    int width = outer.right - outer.left;
    const int height = outer.bottom - outer.top;
    // A short text still leaves room for the whole title, within half the screen.
    const int minimumWidth = std::min(titleWidth(), screenWidth / 2);
    if (width < minimumWidth) {
        clientWidth += minimumWidth - width;
        width = minimumWidth;
    }

    window_ =
        CreateWindowExA(kExStyle, kClassName, kApplicationTitle, kStyle, (screenWidth - width) / 2,
                        (screenHeight - height) / 2, width, height, owner, nullptr, instance, this);
    if (!window_) return;
    text_ = CreateWindowExA(0, "STATIC", shown.c_str(),
                            WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX, margin, margin,
                            textSize.cx, textSize.cy, window_, nullptr, instance, nullptr);
    ok_ =
        CreateWindowExA(0, "BUTTON", "OK", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON,
                        (clientWidth - buttonWidth) / 2, margin + textSize.cy + margin, buttonWidth,
                        buttonHeight, window_, reinterpret_cast<HMENU>(IDOK), instance, nullptr);
    SendMessageA(text_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    SendMessageA(ok_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

int MessageWindow::titleWidth() {
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) return 0;
    HFONT font = CreateFontIndirectA(&metrics.lfCaptionFont);
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    SIZE title{};
    GetTextExtentPoint32A(dc, kApplicationTitle, static_cast<int>(std::strlen(kApplicationTitle)),
                          &title);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    DeleteObject(font);
    return title.cx + 2 * metrics.iCaptionWidth + 4 * GetSystemMetrics(SM_CXDLGFRAME);
}

MessageWindow::~MessageWindow() {
    if (window_ && IsWindow(window_)) DestroyWindow(window_);
}

LRESULT CALLBACK MessageWindow::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* box = reinterpret_cast<MessageWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (box) {
        // Destroyed with its owner, the box is done as well.
        if (message == WM_DESTROY) box->done_ = true;
        if ((message == WM_COMMAND && LOWORD(wParam) == IDOK) || message == WM_CLOSE) {
            box->done_ = true;
            return 0;
        }
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

bool MessageWindow::handleKey(const MSG& message) {
    if (message.message != WM_KEYDOWN) return false;
    if (message.hwnd != window_ && !IsChild(window_, message.hwnd)) return false;
    if (message.wParam != VK_RETURN && message.wParam != VK_ESCAPE) return false;
    done_ = true;
    return true;
}

std::vector<HWND> MessageWindow::disableOtherWindows() const {
    struct Walk {
        HWND self;
        std::vector<HWND> disabled;
    } walk{window_, {}};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM data) -> BOOL {
            auto* state = reinterpret_cast<Walk*>(data);
            if (window != state->self && IsWindowVisible(window) && IsWindowEnabled(window)) {
                EnableWindow(window, FALSE);
                state->disabled.push_back(window);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&walk));
    return walk.disabled;
}

void MessageWindow::runModal() {
    if (!window_) return;
    HWND focus = GetFocus();
    const std::vector<HWND> disabled = disableOtherWindows();
    ShowWindow(window_, SW_SHOWNORMAL);
    SetFocus(ok_);
    bool quit = false;
    WPARAM quitCode = 0;
    MSG message;
    while (!done_) {
        if (GetMessageA(&message, nullptr, 0, 0) <= 0) {
            quit = true;
            quitCode = message.wParam;
            break;
        }
        if (handleKey(message) || IsDialogMessageA(window_, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    // The other windows come back before the box goes, so activation returns to them.
    for (HWND window : disabled)
        if (IsWindow(window)) EnableWindow(window, TRUE);
    DestroyWindow(window_);
    window_ = nullptr;
    if (focus && IsWindow(focus)) SetFocus(focus);
    if (quit) PostQuitMessage(static_cast<int>(quitCode));
}

}  // namespace vantorel
