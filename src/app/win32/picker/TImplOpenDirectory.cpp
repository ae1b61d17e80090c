#include "app/win32/picker/TImplOpenDirectory.h"

#include <cderr.h>
#include <commdlg.h>
#include <dlgs.h>

#include <algorithm>
#include <exception>
#include <utility>

#include "app/win32/picker/ModalScope.h"
#include "app/win32/picker/PickerRules.h"
#include "app/win32/picker/TOpenDirectory.h"
#include "app/win32/picker/WindowSearch.h"
#include "platform/Failure.h"
#include "platform/Paths.h"
#include "settings/FolderResult.h"

namespace vantorel {
namespace {

// No file name matches the pattern, so the dialog lists folders only.
constexpr char kFilter[] = "Directories\0*.~#!\0";
void raise(const TNotifyEvent& event, TImplOpenDirectory* sender) {
    if (event) event(sender);
}

}  // namespace

TImplOpenDirectory::TImplOpenDirectory(TOpenDirectory* owner, HWND ownerWindow)
    : Owner(owner),
      TextBuffer(std::make_unique<std::array<char, 1000>>()),
      ButtonProc(&TImplOpenDirectory::buttonProc),
      ListProc(&TImplOpenDirectory::listProc),
      ownerWindow_(ownerWindow),
      networkNameSource(&systemNetworkNames) {}

TImplOpenDirectory::~TImplOpenDirectory() = default;

void TImplOpenDirectory::resetRun() {
    CurrentFolder.clear();
    Owner->Directory.clear();
    Owner->UNCDirectory.clear();
    DialogWindow = AcceptButton = FolderList = nullptr;
    OldButtonProc = OldListProc = nullptr;
    (*TextBuffer)[0] = '\0';
    closed = false;
    pending = nullptr;
}

int TImplOpenDirectory::Execute() {
    resetRun();
    // Shares come and go; each run looks again.
    networkNames = networkNameSource ? networkNameSource() : NetworkNameLookup();

    HWND ownerWindow = ownerWindow_ ? ownerWindow_ : GetActiveWindow();
    if (ownerWindow && !IsWindow(ownerWindow)) ownerWindow = nullptr;
    ModalScope modal(ownerWindow);
    placementWindow = modal.activeWindow() ? modal.activeWindow() : ownerWindow;

    Dialog = std::make_unique<OPENFILENAMEA>();
    const std::string initialFolder = pickerInitialFolder(Owner->InitialDir, currentDirectory());
    std::array<char, MAX_PATH + 1> fileName{};  // the initial name is empty
    OPENFILENAMEA& d = *Dialog;
    d.lStructSize = sizeof(OPENFILENAMEA);
    d.hwndOwner = ownerWindow;
    d.lpstrFilter = kFilter;
    d.nFilterIndex = 1;
    d.lpstrFile = fileName.data();
    d.nMaxFile = static_cast<DWORD>(fileName.size());
    d.lpstrInitialDir = initialFolder.empty() ? nullptr : initialFolder.c_str();
    d.lpstrTitle = Owner->Title.empty() ? nullptr : Owner->Title.c_str();
    d.Flags = OFN_EXPLORER | OFN_ENABLEHOOK | OFN_HIDEREADONLY | OFN_NOVALIDATE;
    if (Owner->EnableSizing) d.Flags |= OFN_ENABLESIZING;
    if (Owner->NoChangeDir) d.Flags |= OFN_NOCHANGEDIR;
    d.FlagsEx = OFN_EX_NOPLACESBAR;
    d.lpfnHook = &TImplOpenDirectory::hookProc;
    d.lCustData = reinterpret_cast<LPARAM>(this);

    Accepted = false;
    // The dialog's own outcome says nothing (an accepted pick closes it as
    // cancelled); only a dialog that could not run at all is a failure.
    const BOOL ended = GetOpenFileNameA(Dialog.get());
    DWORD error = ended ? 0 : CommDlgExtendedError();
    // A name typed into the box that is too long or invalid ends the dialog
    // like a cancel; only the dialog's general errors mean it could not run.
    if (error >= FNERR_FILENAMECODES && error != CDERR_DIALOGFAILURE) error = 0;
    guarded([&] { Close(); });  // in case the dialog went without destroying its hook window
    Dialog.reset();
    if (pending) {
        Owner->Directory.clear();
        Owner->UNCDirectory.clear();
        std::rethrow_exception(std::exchange(pending, nullptr));
    }
    if (error != 0) {
        Owner->Directory.clear();
        Owner->UNCDirectory.clear();
        char text[80];
        wsprintfA(text, "The folder dialog could not be opened (error 0x%04lX)",
                  static_cast<unsigned long>(error));
        throw Failure(text);
    }

    return endPickerRun(Accepted, Owner->Directory, Owner->UNCDirectory, Owner->NoChangeDir);
}

UINT_PTR CALLBACK TImplOpenDirectory::hookProc(HWND hook, UINT message, WPARAM, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        const auto* dialog = reinterpret_cast<const OPENFILENAMEA*>(lParam);
        SetWindowLongPtrA(hook, GWLP_USERDATA, dialog->lCustData);
        return 0;
    }
    auto* self = reinterpret_cast<TImplOpenDirectory*>(GetWindowLongPtrA(hook, GWLP_USERDATA));
    if (!self) return 0;
    if (message == WM_NOTIFY) {
        switch (reinterpret_cast<const NMHDR*>(lParam)->code) {
            case CDN_INITDONE:
                self->guarded([&] { self->Prepare(hook); });
                break;
            case CDN_FOLDERCHANGE:
                self->guarded([&] { self->FolderChange(hook); });
                break;
        }
    } else if (message == WM_DESTROY) {
        self->guarded([&] { self->Close(); });
    }
    return 0;
}

void TImplOpenDirectory::Prepare(HWND hook) {
    DialogWindow = GetParent(hook);
    // The file-type selector and its label.
    if (HWND types = findDescendant(DialogWindow, "ComboBox", 3)) ShowWindow(types, SW_HIDE);
    if (HWND label = findDescendant(DialogWindow, "Static", 4)) ShowWindow(label, SW_HIDE);
    AcceptButton = findDescendant(DialogWindow, "Button", 2);
    if (AcceptButton) hookWindow(AcceptButton, ButtonProc, OldButtonProc);
    placeDialog();
    raise(Owner->OnShow, this);
}

void TImplOpenDirectory::placeDialog() {
    HWND form = placementWindow && IsWindow(placementWindow) ? placementWindow : DialogWindow;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    RECT dialog;
    if (!GetMonitorInfoA(MonitorFromWindow(form, MONITOR_DEFAULTTOPRIMARY), &monitor) ||
        !GetWindowRect(DialogWindow, &dialog))
        return;
    const POINT at = dialogOrigin(monitor.rcMonitor,
                                  SIZE{dialog.right - dialog.left, dialog.bottom - dialog.top});
    SetWindowPos(DialogWindow, nullptr, at.x, at.y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TImplOpenDirectory::FolderChange(HWND hook) {
    // Should the dialog report a folder before it is shown.
    if (!DialogWindow) DialogWindow = GetParent(hook);
    std::array<char, MAX_PATH + 1> reported{};
    const LRESULT length = SendMessageA(DialogWindow, CDM_GETFILEPATH, MAX_PATH,
                                        reinterpret_cast<LPARAM>(reported.data()));
    // An answer too long for the buffer (the dialog adds the name box's text
    // to the folder) is still a folder: the working directory tells which.
    const std::string path = length <= 0         ? std::string()
                             : length > MAX_PATH ? currentDirectory()
                                                 : std::string(reported.data());
    if (!isFileSystemFolder(path))
        CurrentFolder.clear();
    else if (!CurrentFolder.empty())
        // The dialog keeps the working directory at the folder it shows; its
        // own answer would now be made from the name box's text.
        CurrentFolder = currentDirectory();
    else
        CurrentFolder = path;
    showInNameBox(CurrentFolder);

    unhookFolderList();
    FolderList = findDescendant(DialogWindow, "SysListView32", 1);
    if (FolderList) hookWindow(FolderList, ListProc, OldListProc);

    Owner->Directory = CurrentFolder;
    Owner->UNCDirectory = networkForm(CurrentFolder, networkNames);
    raise(Owner->OnFolderChange, this);
}

void TImplOpenDirectory::guarded(const std::function<void()>& work) {
    // A failure may not unwind through the system's dialog code: it ends the
    // dialog and Execute passes it on.
    try {
        work();
    } catch (...) {
        if (!pending) pending = std::current_exception();
        if (DialogWindow && IsWindow(DialogWindow)) PostMessageA(DialogWindow, WM_CLOSE, 0, 0);
    }
}

void TImplOpenDirectory::Close() {
    if (closed) return;
    closed = true;
    raise(Owner->OnClose, this);
}

void TImplOpenDirectory::showInNameBox(const std::string& path) {
    std::array<char, 1000>& buffer = *TextBuffer;
    // Dialog paths stay far below the buffer; a longer one is cut, never overrun.
    const size_t length = std::min(path.size(), buffer.size() - 1);
    path.copy(buffer.data(), length);
    buffer[length] = '\0';
    // Older dialogs name the box edt1; the newer ones make it a combo box.
    const int box = GetDlgItem(DialogWindow, edt1) ? edt1 : cmb13;
    PostMessageA(DialogWindow, CDM_SETCONTROLTEXT, box, reinterpret_cast<LPARAM>(buffer.data()));
}

}  // namespace vantorel
