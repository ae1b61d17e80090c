#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "platform/NetworkName.h"

namespace vantorel {

class TImplOpenDirectory;

// A notify event: one sender, no result; raised only when assigned. The
// sender is always the picker's TImplOpenDirectory.
using TNotifyEvent = std::function<void(TImplOpenDirectory* Sender)>;

// Lets the user choose a folder through the system's open-file dialog, cut
// down to folders. The window owns one; Execute runs the dialog and leaves the
// choice in Directory and UNCDirectory. Everything that lives only while a
// dialog runs belongs to the companion TImplOpenDirectory, which is also the
// sender of the three events.
class TOpenDirectory {
public:
    // `owner` is the window the dialog belongs to; when null, the window
    // active at Execute is taken.
    explicit TOpenDirectory(HWND owner = nullptr);
    ~TOpenDirectory();
    TOpenDirectory(const TOpenDirectory&) = delete;
    TOpenDirectory& operator=(const TOpenDirectory&) = delete;

    // 1 when the user accepted a folder with the mouse, 0 otherwise (then both
    // results are empty). With NoChangeDir false an accepted pick also moves
    // the working directory to it, so the next pick starts there. A dialog
    // that cannot be opened throws Failure.
    int Execute();

    std::string Directory;     // local form ("C:\Data"); live while the dialog runs
    bool EnableSizing = true;  // the dialog can be resized
    std::string InitialDir;    // empty: the working directory
    bool NoChangeDir = false;  // never move the working directory
    std::string Title;         // empty: the dialog's own caption
    std::string UNCDirectory;  // network form ("\\server\share\..."), or empty

    TNotifyEvent OnClose;  // once per run, when the dialog ends, before the results are final
    TNotifyEvent OnFolderChange;  // the first folder, then every navigation
    TNotifyEvent OnShow;          // once per run, when the dialog is about to be seen

    void setOwnerWindow(HWND owner);
    HWND ownerWindow() const;

    // Where each run takes its network-name lookup from (the system's by
    // default); tests stand in for mapped drives here.
    void setNetworkNameSource(std::function<NetworkNameLookup()> source);

private:
    std::unique_ptr<TImplOpenDirectory> Impl;
};

}  // namespace vantorel
