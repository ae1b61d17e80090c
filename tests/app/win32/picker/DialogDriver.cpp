#include "app/win32/picker/DialogDriver.h"

#include <commctrl.h>
#include <commdlg.h>

#include <array>
#include <cstring>
#include <memory>
#include <sstream>
#include <stdexcept>

namespace vantorel {
namespace {

struct Run {
    std::vector<DialogDriver::Step> steps;
    size_t next = 0;
    TImplOpenDirectory* dialog = nullptr;
    DWORD deadline = 0;
    bool timedOut = false;
    bool busy = false;
};

Run* current = nullptr;
constexpr WORD kUpOneLevel = 0xA001;  // the dialog's toolbar command

BOOL CALLBACK cancelDialog(HWND window, LPARAM) {
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    if (std::strcmp(name, "#32770") == 0) PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    return TRUE;
}

VOID CALLBACK tick(HWND, UINT, UINT_PTR, DWORD) {
    Run* run = current;
    // Lists run small loops of their own while they follow the mouse.
    if (!run || run->busy) return;
    if (GetTickCount() > run->deadline) {
        run->timedOut = true;
        EnumThreadWindows(GetCurrentThreadId(), &cancelDialog, 0);
        return;
    }
    if (!run->dialog || run->next >= run->steps.size()) return;
    run->busy = true;
    if (run->steps[run->next](*run->dialog)) ++run->next;
    run->busy = false;
}

void post(HWND window, std::initializer_list<UINT> messages, POINT down, POINT up) {
    for (UINT message : messages) {
        const bool release = message == WM_LBUTTONUP;
        const POINT at = release ? up : down;
        PostMessageA(window, message, release ? 0 : MK_LBUTTON, MAKELPARAM(at.x, at.y));
    }
}

// The centre of the list item showing `name`; false while there is none.
bool itemCentre(HWND list, const std::string& name, POINT& at) {
    const LRESULT count = SendMessageA(list, LVM_GETITEMCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        std::array<char, MAX_PATH> text{};
        LVITEMA item{};
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(i);
        item.pszText = text.data();
        item.cchTextMax = static_cast<int>(text.size());
        SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        if (!item.pszText || name != item.pszText) continue;
        RECT box{LVIR_LABEL, 0, 0, 0};
        SendMessageA(list, LVM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&box));
        at = POINT{(box.left + box.right) / 2, (box.top + box.bottom) / 2};
        return true;
    }
    return false;
}

DialogDriver::Step step(const std::string& verb, const std::string& arg) {
    using Dialog = TImplOpenDirectory;
    const POINT in{5, 5};
    if (verb == "accept" || verb == "accept-off")
        return [in, off = verb == "accept-off"](Dialog& d) {
            post(d.acceptButton(), {WM_LBUTTONDOWN, WM_LBUTTONUP}, in, off ? POINT{-40, -40} : in);
            return true;
        };
    if (verb == "click" || verb == "double")
        return [arg, twice = verb == "double"](Dialog& d) {
            POINT at;
            if (!itemCentre(d.folderList(), arg, at)) return false;
            post(d.folderList(), {WM_LBUTTONDOWN, WM_LBUTTONUP}, at, at);
            if (twice) post(d.folderList(), {WM_LBUTTONDBLCLK, WM_LBUTTONUP}, at, at);
            return true;
        };
    if (verb == "empty")
        return [](Dialog& d) {
            RECT client;
            GetClientRect(d.folderList(), &client);
            const POINT corner{client.right - 4, client.bottom - 4};
            post(d.folderList(), {WM_LBUTTONDOWN, WM_LBUTTONUP}, corner, corner);
            return true;
        };
    if (verb == "enter" || verb == "space")
        return [key = verb == "enter" ? VK_RETURN : VK_SPACE](Dialog& d) {
            PostMessageA(d.acceptButton(), WM_KEYDOWN, key, 1);
            PostMessageA(d.acceptButton(), WM_KEYUP, key, 0xC0000001);
            return true;
        };
    if (verb == "up" || verb == "cancel")
        return [id = verb == "up" ? kUpOneLevel : WORD{IDCANCEL}](Dialog& d) {
            PostMessageA(d.dialogWindow(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
            return true;
        };
    if (verb == "pause")
        return [until = std::make_shared<DWORD>(0)](Dialog&) {
            if (*until == 0) *until = GetTickCount() + 300;
            return GetTickCount() >= *until;
        };
    if (verb == "wait")
        return [folder = arg == "-" ? "" : arg](Dialog& d) { return d.currentFolder() == folder; };
    throw std::invalid_argument("unknown step " + verb);
}

}  // namespace

int DialogDriver::run(TOpenDirectory& picker, std::vector<Step> steps, bool& timedOut,
                      DWORD limitMs) {
    Run run;
    run.steps = std::move(steps);
    run.deadline = GetTickCount() + limitMs;
    const TNotifyEvent shown = picker.OnShow;
    picker.OnShow = [&run, shown](TImplOpenDirectory* sender) {
        run.dialog = sender;
        if (shown) shown(sender);
    };
    current = &run;
    struct Restore {
        TOpenDirectory& picker;
        TNotifyEvent shown;
        UINT_PTR timer;
        ~Restore() {
            KillTimer(nullptr, timer);
            current = nullptr;
            picker.OnShow = shown;
        }
    } restore{picker, shown, SetTimer(nullptr, 0, 40, &tick)};
    const int result = picker.Execute();
    timedOut = run.timedOut;
    return result;
}

std::vector<DialogDriver::Step> DialogDriver::script(const std::string& words,
                                                     const std::string& base) {
    std::vector<Step> steps;
    std::istringstream in(words);
    for (std::string verb, arg; in >> verb;) {
        const bool takesArg = verb == "click" || verb == "double" || verb == "wait";
        if (takesArg) in >> arg;
        if (verb == "wait" && arg != "-" && arg.find(':') == std::string::npos)
            arg = base + "\\" + arg;
        steps.push_back(step(verb, arg));
    }
    return steps;
}

DialogDriver::Step DialogDriver::check(std::function<void(TImplOpenDirectory&)> checks) {
    return [checks](TImplOpenDirectory& dialog) {
        checks(dialog);
        return true;
    };
}

std::string DialogDriver::nameBox(TImplOpenDirectory& dialog) {
    std::array<char, 1024> text{};
    SendMessageA(dialog.dialogWindow(), CDM_GETSPEC, static_cast<WPARAM>(text.size()),
                 reinterpret_cast<LPARAM>(text.data()));
    return text.data();
}

}  // namespace vantorel
