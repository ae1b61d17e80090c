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

    // Steps made of words, one step each: "accept" (a mouse click on the
    // accept button), "accept-off" (pressed, released off it), "click NAME",
    // "double NAME" (on a list item, waiting until it is listed), "empty" (a
    // click on the list's empty space), "enter", "space" (keys on the accept
    // button), "up" (to the parent place), "cancel", "pause", "wait FOLDER"
    // (until the dialog shows it, below `base` unless it has a drive; "wait -"
    // for a place without a path).
    static std::vector<Step> script(const std::string& words, const std::string& base = "");
    static Step check(std::function<void(TImplOpenDirectory&)> checks);
    static std::string nameBox(TImplOpenDirectory& dialog);
};

}  // namespace vantorel
