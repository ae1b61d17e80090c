#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "app/win32/picker/TImplOpenDirectory.h"
#include "app/win32/picker/TOpenDirectory.h"

namespace vantorel {

// Drives a picker's real dialog from inside its modal loop: a thread timer
// runs the steps one after another once the dialog is shown. A step returns
// true when it is done (a step that waits returns false until then). Past the
// time limit the dialog is cancelled, so no test leaves it waiting.
class DialogDriver {
public:
    using Step = std::function<bool(TImplOpenDirectory& dialog)>;

    // Runs picker.Execute() with the steps; `timedOut` tells whether the
    // limit ended the run.
    static int run(TOpenDirectory& picker, std::vector<Step> steps, bool& timedOut,
                   DWORD limitMs = 20000);

    static Step clickAccept();
    static Step pressAcceptAndReleaseOffIt();
    static Step clickItem(const std::string& name);
    static Step doubleClickItem(const std::string& name);
    static Step clickEmptySpace();
    static Step pressKey(UINT key);  // down and up on the accept button
    static Step command(WORD id);    // a command to the dialog (its toolbar, Cancel)
    static Step waitUntil(std::function<bool(TImplOpenDirectory&)> condition);
    static Step waitForFolder(const std::string& folder);
    static Step check(std::function<void(TImplOpenDirectory&)> checks);
    static Step pause(DWORD ms);

    // What the dialog's name box shows.
    static std::string nameBox(TImplOpenDirectory& dialog);
};

}  // namespace vantorel
