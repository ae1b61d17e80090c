#include "app/qt/Application.h"

#include <exception>

#include "app/qt/WindowFont.h"
#include "form/UserDialogs.h"
#include "platform/Failure.h"

namespace vantorel {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QString::fromUtf8(kApplicationTitle));
    setFont(windowFont(96));
}

bool Application::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const Failure& failure) {
        reportFailure(failure.message());
    } catch (const std::exception& failure) {
        reportFailure(failure.what());
    }
    return false;
}

void Application::reportFailure(const std::string& message) {
    auto* app = qobject_cast<Application*>(QCoreApplication::instance());
    if (app && app->dialogs_) app->dialogs_->showError(message);
}

}  // namespace vantorel
