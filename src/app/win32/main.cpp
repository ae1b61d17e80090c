// The program entry: the real boxes, the window and its message loop.
#include <windows.h>

#include <clocale>
#include <exception>
#include <memory>

#include "app/win32/TMainForm.h"
#include "app/win32/Win32Dialogs.h"
#include "platform/CommandLine.h"
#include "platform/TextRules.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int showCommand) {
    std::setlocale(LC_ALL, "");
    vantorel::TMainFormOptions options;
    // The request comes from the raw command line, by the program's own rules.
    options.commandLineRequest = vantorel::commandLineRequest(0, nullptr);

    vantorel::Win32Dialogs dialogs;
    options.created = [&dialogs](vantorel::TMainForm& window) {
        dialogs.setOwner(window.handle(), window.font().handle(), window.scale());
    };
    std::unique_ptr<vantorel::TMainForm> form;
    try {
        form = std::make_unique<vantorel::TMainForm>(dialogs, options);
    } catch (const std::exception& failure) {
        // Without its window (or its socket layer) the program cannot run: say why.
        MessageBoxA(nullptr, vantorel::withFullStop(failure.what()).c_str(),
                    vantorel::kApplicationTitle, vantorel::Win32Dialogs::kErrorFlags);
        return 1;
    }
    form->show(showCommand == SW_HIDE ? SW_SHOWNORMAL : showCommand);
    return form->runMessageLoop();
}
