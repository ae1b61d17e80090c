// The accept button's and the folder list's replacement window procedures.
#include <windows.h>

#include <commctrl.h>

#include <array>

#include "app/win32/picker/TImplOpenDirectory.h"
#include "app/win32/picker/TOpenDirectory.h"
#include "settings/FolderResult.h"

namespace vantorel {
namespace {

constexpr char kObjectProperty[] = "VantorelOpenDirectory";
// Each replaced window keeps its own former procedure, so a message for a list
// the dialog has moved on from still reaches the right one.
constexpr char kOldProcProperty[] = "VantorelOpenDirectoryOldProc";

TImplOpenDirectory* objectOf(HWND window) {
    return static_cast<TImplOpenDirectory*>(GetPropA(window, kObjectProperty));
}

WNDPROC oldProcOf(HWND window) {
    return reinterpret_cast<WNDPROC>(GetPropA(window, kOldProcProperty));
}

// A window being destroyed gets its own procedure back and loses our marks.
LRESULT release(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const WNDPROC old = oldProcOf(window);
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old));
    RemovePropA(window, kObjectProperty);
    RemovePropA(window, kOldProcProperty);
    return CallWindowProcA(old, window, message, wParam, lParam);
}

// Whether this release ends a press on the button inside it, i.e. clicks it.
bool releaseClicks(HWND button, LPARAM lParam) {
    if (!(SendMessageA(button, BM_GETSTATE, 0, 0) & BST_PUSHED)) return false;
    RECT client;
    GetClientRect(button, &client);
    const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    return PtInRect(&client, at);
}

}  // namespace

void TImplOpenDirectory::hookWindow(HWND window, WNDPROC replacement, WNDPROC& old) {
    const auto current = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC));
    if (current == replacement) return;
    old = current;
    SetPropA(window, kObjectProperty, this);
    SetPropA(window, kOldProcProperty, reinterpret_cast<HANDLE>(current));
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(replacement));
}

void TImplOpenDirectory::unhookFolderList() {
    // The list of the folder left is usually gone already (it gave the
    // replacement back as it went); a handle is only used while it is ours.
    if (FolderList && OldListProc && IsWindow(FolderList) && objectOf(FolderList) == this &&
        reinterpret_cast<WNDPROC>(GetWindowLongPtrA(FolderList, GWLP_WNDPROC)) == ListProc) {
        SetWindowLongPtrA(FolderList, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(OldListProc));
        RemovePropA(FolderList, kObjectProperty);
        RemovePropA(FolderList, kOldProcProperty);
    }
    FolderList = nullptr;
    OldListProc = nullptr;
}

LRESULT CALLBACK TImplOpenDirectory::buttonProc(HWND window, UINT message, WPARAM wParam,
                                                LPARAM lParam) {
    TImplOpenDirectory* self = objectOf(window);
    if (!self) return DefWindowProcA(window, message, wParam, lParam);
    return self->acceptButtonMessage(window, message, wParam, lParam);
}

LRESULT TImplOpenDirectory::acceptButtonMessage(HWND button, UINT message, WPARAM wParam,
                                                LPARAM lParam) {
    const WNDPROC old = oldProcOf(button);
    if (message == WM_NCDESTROY) {
        if (button == AcceptButton) AcceptButton = nullptr;
        return release(button, message, wParam, lParam);
    }
    if (message != WM_LBUTTONUP) return CallWindowProcA(old, button, message, wParam, lParam);
    if (CurrentFolder.empty()) {
        // Nothing to accept: the release is kept from the button, which must
        // still let go of the mouse it took on the press.
        if (GetCapture() == button) ReleaseCapture();
        return 0;
    }
    if (!releaseClicks(button, lParam))
        return CallWindowProcA(old, button, message, wParam, lParam);
    Accepted = true;
    // The button completes its click (the dialog takes it for its own accept),
    // then the dialog is closed; Accepted makes Execute report the folder.
    HWND dialog = GetParent(button);
    const LRESULT result = CallWindowProcA(old, button, message, wParam, lParam);
    if (IsWindow(dialog)) PostMessageA(dialog, WM_CLOSE, 0, 0);
    return result;
}

LRESULT CALLBACK TImplOpenDirectory::listProc(HWND window, UINT message, WPARAM wParam,
                                              LPARAM lParam) {
    TImplOpenDirectory* self = objectOf(window);
    if (!self) return DefWindowProcA(window, message, wParam, lParam);
    return self->folderListMessage(window, message, wParam, lParam);
}

LRESULT TImplOpenDirectory::folderListMessage(HWND list, UINT message, WPARAM wParam,
                                              LPARAM lParam) {
    if (message == WM_NCDESTROY) {
        if (list == FolderList) {
            FolderList = nullptr;
            OldListProc = nullptr;
        }
        return release(list, message, wParam, lParam);
    }
    // The list moves its selection first; the click is read afterwards.
    const LRESULT result = CallWindowProcA(oldProcOf(list), list, message, wParam, lParam);
    if (message == WM_LBUTTONDOWN && list == FolderList && IsWindow(list))
        guarded([&] { ListClick(list); });
    return result;
}

void TImplOpenDirectory::ListClick(HWND list) {
    const LRESULT count = SendMessageA(list, LVM_GETITEMCOUNT, 0, 0);
    LRESULT index = 0;
    while (index < count &&
           !(SendMessageA(list, LVM_GETITEMSTATE, index, LVIS_SELECTED) & LVIS_SELECTED))
        ++index;
    std::string name;
    if (index < count) {
        std::array<char, MAX_PATH> text{};
        LVITEMA item{};
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(index);
        item.pszText = text.data();
        item.cchTextMax = static_cast<int>(text.size());
        SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        if (item.pszText) name = item.pszText;
    }
    const std::string path = listClickPath(CurrentFolder, name);
    if (path.empty()) return;  // empty space keeps the last folder
    showInNameBox(path);
    Owner->Directory = path;
    Owner->UNCDirectory = networkForm(path, networkNames);
}

}  // namespace vantorel
