#include "app/qt/QtUserDialogs.h"

#include <QMessageBox>

#include "app/qt/MessageDialog.h"
#include "app/qt/widgets/QtText.h"
#include "platform/Shell.h"
#include "platform/TextRules.h"

namespace vantorel {

QString boxText(const std::string& text) {
    return displayString(withLineBreaks(text, "\n"));
}

namespace {

std::unique_ptr<QMessageBox> makeStandardBox(QMessageBox::Icon icon, const std::string& title,
                                             const QString& text,
                                             QMessageBox::StandardButtons buttons) {
    auto box = std::make_unique<QMessageBox>(icon, displayString(title), text, buttons);
    // Texts can come from the service: never interpret them as markup.
    box->setTextFormat(Qt::PlainText);
    box->setWindowModality(Qt::ApplicationModal);
    return box;
}

}  // namespace

std::unique_ptr<MessageDialog> QtUserDialogs::makeMessageBox(const std::string& text) {
    return std::make_unique<MessageDialog>(boxText(text));
}

std::unique_ptr<QMessageBox> QtUserDialogs::makeQuestionBox(const std::string& text,
                                                            const std::string& title) {
    auto box = makeStandardBox(QMessageBox::NoIcon, title, boxText(text),
                               QMessageBox::Yes | QMessageBox::No);
    box->setDefaultButton(QMessageBox::Yes);
    return box;
}

std::unique_ptr<QMessageBox> QtUserDialogs::makeErrorBox(const std::string& message) {
    auto box = makeStandardBox(QMessageBox::Critical, kApplicationTitle,
                               boxText(withFullStop(message)), QMessageBox::Ok);
    box->setDefaultButton(QMessageBox::Ok);
    return box;
}

void QtUserDialogs::showMessage(const std::string& text) {
    makeMessageBox(text)->exec();
}

bool QtUserDialogs::askYesNo(const std::string& text, const std::string& title) {
    return makeQuestionBox(text, title)->exec() == QMessageBox::Yes;
}

void QtUserDialogs::showError(const std::string& message) {
    makeErrorBox(message)->exec();
}

void QtUserDialogs::openDocument(const std::string& target) {
    shellOpen(target);
}

}  // namespace vantorel
