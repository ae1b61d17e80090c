#include "app/win32/Win32Dialogs.h"

#include "app/win32/MessageWindow.h"
#include "platform/Shell.h"
#include "platform/TextRules.h"

namespace vantorel {

void Win32Dialogs::setOwner(HWND owner, HFONT font, double scale) {
    owner_ = owner;
    font_ = font;
    scale_ = scale;
}

void Win32Dialogs::showMessage(const std::string& text) {
    HFONT font = font_ ? font_ : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    MessageWindow(owner_, text, font, scale_).runModal();
}

bool Win32Dialogs::askYesNo(const std::string& text, const std::string& title) {
    return MessageBoxA(owner_, withLineBreaks(text, "\r\n").c_str(), title.c_str(),
                       kQuestionFlags) == IDYES;
}

void Win32Dialogs::showError(const std::string& message) {
    MessageBoxA(owner_, withLineBreaks(withFullStop(message), "\r\n").c_str(), kApplicationTitle,
                kErrorFlags);
}

void Win32Dialogs::openDocument(const std::string& target) {
    shellOpen(target);
}

}  // namespace vantorel
