#pragma once

#include <windows.h>

#include <vector>

namespace vantorel {

// While it lives, every other enabled top-level window of this thread is
// disabled (the dialog disables its owner itself); at its end they are enabled
// again, and the window that was active and the keyboard focus come back.
class ModalScope {
public:
    explicit ModalScope(HWND owner);
    ~ModalScope();
    ModalScope(const ModalScope&) = delete;
    ModalScope& operator=(const ModalScope&) = delete;

    HWND activeWindow() const { return active; }

private:
    static BOOL CALLBACK disable(HWND window, LPARAM scope);

    HWND owner;
    HWND active;
    HWND focus;
    std::vector<HWND> disabled;
};

}  // namespace vantorel
