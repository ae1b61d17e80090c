#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "platform/NetworkName.h"
#include "settings/OpenDirectoryProperties.h"

namespace vantorel {

class TImplOpenDirectory;

// The sender of the picker's events is always its TImplOpenDirectory.
using TNotifyEvent = OpenDirectoryProperties<TImplOpenDirectory>::TNotifyEvent;

// Lets the user choose a folder through the system's open-file dialog, cut
// down to folders. The window owns one; Execute runs the dialog and leaves the
// choice in Directory and UNCDirectory. Everything that lives only while a
// dialog runs belongs to the companion TImplOpenDirectory, which is also the
// sender of the three events.
class TOpenDirectory : public OpenDirectoryProperties<TImplOpenDirectory> {
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

    void setOwnerWindow(HWND owner);
    HWND ownerWindow() const;

    // Where each run takes its network-name lookup from (the system's by
    // default); tests stand in for mapped drives here.
    void setNetworkNameSource(std::function<NetworkNameLookup()> source);

private:
    std::unique_ptr<TImplOpenDirectory> Impl;
};

}  // namespace vantorel
