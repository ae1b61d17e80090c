#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace vantorel {

// The program's own message box: titled with the application title, no icon,
// the text word-wrapped at half the screen width with its line breaks kept,
// as wide as the text needs up to that; one "OK" button that Enter and Esc
// press too (the close button closes it as well). Centred on the screen.
class MessageWindow {
public:
    static constexpr const char* kClassName = "TMessageForm";

    // Builds the box hidden; runModal shows it.
    MessageWindow(HWND owner, const std::string& text, HFONT font, double scale);
    ~MessageWindow();
    MessageWindow(const MessageWindow&) = delete;
    MessageWindow& operator=(const MessageWindow&) = delete;

    HWND handle() const { return window_; }
    HWND textControl() const { return text_; }
    HWND okButton() const { return ok_; }

    // The outer width at which the title bar shows the whole title beside
    // its close button; a box with a short text is made at least this wide.
    static int titleWidth();

    // Shows the box and handles its messages until it closes, while every
    // other window of the thread takes no input; focus then returns to where it was.
    void runModal();

    // Enter or Esc anywhere in the box closes it; true when `message` was such a key.
    bool handleKey(const MSG& message);
    bool done() const { return done_; }

private:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    std::vector<HWND> disableOtherWindows() const;

    HWND window_ = nullptr;
    HWND text_ = nullptr;
    HWND ok_ = nullptr;
    bool done_ = false;
};

}  // namespace vantorel
