// The program entry: the application object, the real boxes and the window.
#include <clocale>
#include <exception>
#include <memory>
#include <string>

#include "app/qt/Application.h"
#include "app/qt/QtUserDialogs.h"
#include "app/qt/TMainForm.h"
#include "platform/CommandLine.h"

int main(int argc, char** argv) {
    // File date texts follow the user's regional settings.
    std::setlocale(LC_ALL, "");
    // The request is taken before Qt removes its own options from argv.
    vantorel::TMainFormOptions options;
    options.commandLineRequest = vantorel::commandLineRequest(argc, argv);

    vantorel::Application app(argc, argv);
    vantorel::QtUserDialogs dialogs;
    app.setFailureSink(&dialogs);
    // The window cannot be built without its socket layer; say why and stop
    // instead of ending with an uncaught exception.
    std::unique_ptr<vantorel::TMainForm> form;
    try {
        form = std::make_unique<vantorel::TMainForm>(dialogs, options);
    } catch (const std::exception& failure) {
        vantorel::Application::reportFailure(failure.what());
        return 1;
    }
    form->show();
    return app.exec();
}
