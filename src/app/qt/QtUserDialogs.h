#pragma once

#include <QString>
#include <memory>

#include "form/UserDialogs.h"

class QMessageBox;

namespace vantorel {

class MessageDialog;

// The real boxes. The builders are public so tests can inspect a box without
// running its modal loop.
class QtUserDialogs : public UserDialogs {
public:
    void showMessage(const std::string& text) override;
    bool askYesNo(const std::string& text, const std::string& title) override;
    void showError(const std::string& message) override;
    void openDocument(const std::string& target) override;

    static std::unique_ptr<MessageDialog> makeMessageBox(const std::string& text);
    static std::unique_ptr<QMessageBox> makeQuestionBox(const std::string& text,
                                                        const std::string& title);
    static std::unique_ptr<QMessageBox> makeErrorBox(const std::string& message);
};

// A box's text: bytes that are not UTF-8 read as Windows-1252, and our LF CR
// line breaks as the plain LF Qt wants.
QString boxText(const std::string& text);

}  // namespace vantorel
