#include "DialogDriver.h"

#include <commctrl.h>
#include <commdlg.h>

#include <array>
#include <cstring>
#include <memory>

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

LPARAM point(int x, int y) {
    return MAKELPARAM(x, y);
}

// The centre of the list item showing `name`, or false when there is none.
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
        RECT box{};
        box.left = LVIR_LABEL;
        SendMessageA(list, LVM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&box));
        at = POINT{(box.left + box.right) / 2, (box.top + box.bottom) / 2};
        return true;
    }
    return false;
}

}  // namespace

int DialogDriver::run(TOpenDirectory& picker, std::vector<Step> steps, bool& timedOut,
                      DWORD limitMs) {
    Run run;
    run.steps = std::move(steps);
    run.deadline = GetTickCount() + limitMs;
    TNotifyEvent shown = picker.OnShow;
    picker.OnShow = [&run, shown](TImplOpenDirectory* sender) {
        run.dialog = sender;
        if (shown) shown(sender);
    };
    current = &run;
    const UINT_PTR timer = SetTimer(nullptr, 0, 40, &tick);
    struct Restore {
        TOpenDirectory& picker;
        TNotifyEvent shown;
        UINT_PTR timer;
        ~Restore() {
            KillTimer(nullptr, timer);
            current = nullptr;
            picker.OnShow = shown;
        }
    } restore{picker, shown, timer};
    const int result = picker.Execute();
    timedOut = run.timedOut;
    return result;
}

DialogDriver::Step DialogDriver::clickAccept() {
    return [](TImplOpenDirectory& dialog) {
        PostMessageA(dialog.acceptButton(), WM_LBUTTONDOWN, MK_LBUTTON, point(5, 5));
        PostMessageA(dialog.acceptButton(), WM_LBUTTONUP, 0, point(5, 5));
        return true;
    };
}

DialogDriver::Step DialogDriver::pressAcceptAndReleaseOffIt() {
    return [](TImplOpenDirectory& dialog) {
        PostMessageA(dialog.acceptButton(), WM_LBUTTONDOWN, MK_LBUTTON, point(5, 5));
        PostMessageA(dialog.acceptButton(), WM_LBUTTONUP, 0, point(-40, -40));
        return true;
    };
}

DialogDriver::Step DialogDriver::clickItem(const std::string& name) {
    return [name](TImplOpenDirectory& dialog) {
        POINT at;
        if (!itemCentre(dialog.folderList(), name, at)) return false;  // not listed yet
        PostMessageA(dialog.folderList(), WM_LBUTTONDOWN, MK_LBUTTON, point(at.x, at.y));
        PostMessageA(dialog.folderList(), WM_LBUTTONUP, 0, point(at.x, at.y));
        return true;
    };
}

DialogDriver::Step DialogDriver::doubleClickItem(const std::string& name) {
    return [name](TImplOpenDirectory& dialog) {
        POINT at;
        HWND list = dialog.folderList();
        if (!itemCentre(list, name, at)) return false;
        const LPARAM where = point(at.x, at.y);
        PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, where);
        PostMessageA(list, WM_LBUTTONUP, 0, where);
        PostMessageA(list, WM_LBUTTONDBLCLK, MK_LBUTTON, where);
        PostMessageA(list, WM_LBUTTONUP, 0, where);
        return true;
    };
}

DialogDriver::Step DialogDriver::clickEmptySpace() {
    return [](TImplOpenDirectory& dialog) {
        RECT client;
        GetClientRect(dialog.folderList(), &client);
        const LPARAM where = point(client.right - 4, client.bottom - 4);
        PostMessageA(dialog.folderList(), WM_LBUTTONDOWN, MK_LBUTTON, where);
        PostMessageA(dialog.folderList(), WM_LBUTTONUP, 0, where);
        return true;
    };
}

DialogDriver::Step DialogDriver::pressKey(UINT key) {
    return [key](TImplOpenDirectory& dialog) {
        PostMessageA(dialog.acceptButton(), WM_KEYDOWN, key, 1);
        PostMessageA(dialog.acceptButton(), WM_KEYUP, key, 0xC0000001);
        return true;
    };
}

DialogDriver::Step DialogDriver::command(WORD id) {
    return [id](TImplOpenDirectory& dialog) {
        PostMessageA(dialog.dialogWindow(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
        return true;
    };
}

DialogDriver::Step DialogDriver::waitUntil(std::function<bool(TImplOpenDirectory&)> condition) {
    return [condition](TImplOpenDirectory& dialog) { return condition(dialog); };
}

DialogDriver::Step DialogDriver::waitForFolder(const std::string& folder) {
    return waitUntil(
        [folder](TImplOpenDirectory& dialog) { return dialog.currentFolder() == folder; });
}

DialogDriver::Step DialogDriver::check(std::function<void(TImplOpenDirectory&)> checks) {
    return [checks](TImplOpenDirectory& dialog) {
        checks(dialog);
        return true;
    };
}

DialogDriver::Step DialogDriver::pause(DWORD ms) {
    auto until = std::make_shared<DWORD>(0);
    return [ms, until](TImplOpenDirectory&) {
        if (*until == 0) *until = GetTickCount() + ms;
        return GetTickCount() >= *until;
    };
}

std::string DialogDriver::nameBox(TImplOpenDirectory& dialog) {
    std::array<char, 1024> text{};
    SendMessageA(dialog.dialogWindow(), CDM_GETSPEC, static_cast<WPARAM>(text.size()),
                 reinterpret_cast<LPARAM>(text.data()));
    return text.data();
}

}  // namespace vantorel
