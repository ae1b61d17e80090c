#pragma once

#include <windows.h>

#include "form/UserDialogs.h"

namespace vantorel {

// The real boxes: the program's own message box, and the question and error
// boxes through MessageBoxA, all owned by the main window.
class Win32Dialogs : public UserDialogs {
public:
    static constexpr UINT kQuestionFlags = MB_YESNO;
    static constexpr UINT kErrorFlags = MB_ICONERROR | MB_OK;

    // The owner and the font are set once the main window exists.
    void setOwner(HWND owner, HFONT font, double scale);

    void showMessage(const std::string& text) override;
    bool askYesNo(const std::string& text, const std::string& title) override;
    void showError(const std::string& message) override;
    void openDocument(const std::string& target) override;

private:
    HWND owner_ = nullptr;
    HFONT font_ = nullptr;
    double scale_ = 1.0;
};

}  // namespace vantorel
