#pragma once

#include <QApplication>

namespace vantorel {

class UserDialogs;

// The application object. Its notify override is the one place where a
// failure that escaped an event handler is caught and shown in the error box;
// the event loop then goes on.
class Application : public QApplication {
    Q_OBJECT
public:
    Application(int& argc, char** argv);

    void setFailureSink(UserDialogs* dialogs) { dialogs_ = dialogs; }
    UserDialogs* failureSink() const { return dialogs_; }

    bool notify(QObject* receiver, QEvent* event) override;

    // Shows a failure's message through the current application's sink, if any.
    static void reportFailure(const std::string& message);

private:
    UserDialogs* dialogs_ = nullptr;
};

}  // namespace vantorel
