#pragma once

#include <string>

namespace vantorel {

// The application title: the window's caption and the title of every box.
inline constexpr const char* kApplicationTitle = "Vantorel Patent Downloader";

// Everything the window says to the user goes through this seam, so tests can
// script the answers instead of opening modal boxes.
class UserDialogs {
public:
    virtual ~UserDialogs() = default;

    // The program's own message box: one OK button, no icon.
    virtual void showMessage(const std::string& text) = 0;
    // Yes/No question, Yes the default; true only for Yes.
    virtual bool askYesNo(const std::string& text, const std::string& title) = 0;
    // The error box for a failure no handler caught; the full-stop rule applies there.
    virtual void showError(const std::string& message) = 0;
    // Hands a document or web address to the desktop; nothing is reported.
    virtual void openDocument(const std::string& target) = 0;
};

}  // namespace vantorel
