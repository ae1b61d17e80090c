#pragma once

#include <windows.h>

#include <array>
#include <exception>
#include <functional>
#include <memory>
#include <string>

#include "platform/NetworkName.h"

struct tagOFNA;

namespace vantorel {

class TOpenDirectory;

// The part of TOpenDirectory that exists only while a dialog runs: the dialog,
// the handles of its controls, the replaced window procedures, the folder it
// shows and whether the mouse accepted. Created with the component and reused
// by every Execute; nothing of one run is used in the next.
class TImplOpenDirectory {
public:
    TImplOpenDirectory(TOpenDirectory* owner, HWND ownerWindow);
    ~TImplOpenDirectory();
    TImplOpenDirectory(const TImplOpenDirectory&) = delete;
    TImplOpenDirectory& operator=(const TImplOpenDirectory&) = delete;

    int Execute();

    void setOwnerWindow(HWND window) { ownerWindow_ = window; }
    HWND ownerWindow() const { return ownerWindow_; }
    void setNetworkNameSource(std::function<NetworkNameLookup()> source) {
        networkNameSource = std::move(source);
    }

    // What event handlers may look at while the dialog runs.
    TOpenDirectory* owner() const { return Owner; }
    HWND dialogWindow() const { return DialogWindow; }
    HWND acceptButton() const { return AcceptButton; }
    HWND folderList() const { return FolderList; }
    const std::string& currentFolder() const { return CurrentFolder; }
    bool accepted() const { return Accepted; }

private:
    static UINT_PTR CALLBACK hookProc(HWND hook, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK buttonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK listProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    void Prepare(HWND hook);
    void FolderChange(HWND hook);
    void ListClick(HWND list);
    void Close();
    LRESULT acceptButtonMessage(HWND button, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT folderListMessage(HWND list, UINT message, WPARAM wParam, LPARAM lParam);
    void hookWindow(HWND window, WNDPROC replacement, WNDPROC& old);
    void unhookFolderList();
    void showInNameBox(const std::string& path);
    void placeDialog();
    void guarded(const std::function<void()>& work);
    void resetRun();

    TOpenDirectory* Owner;
    std::unique_ptr<tagOFNA> Dialog;
    bool Accepted = false;
    // The name box reads its text after the handler has returned, so the text
    // lives here rather than on the handler's stack.
    std::unique_ptr<std::array<char, 1000>> TextBuffer;
    HWND DialogWindow = nullptr;
    std::string CurrentFolder;
    HWND AcceptButton = nullptr;
    HWND FolderList = nullptr;
    WNDPROC OldButtonProc = nullptr;
    WNDPROC ButtonProc;
    WNDPROC OldListProc = nullptr;
    WNDPROC ListProc;

    HWND ownerWindow_;
    HWND placementWindow = nullptr;  // the form whose monitor the dialog opens on
    bool closed = false;
    std::exception_ptr pending;  // a failure of a handler, passed on by Execute
    NetworkNameLookup networkNames;
    std::function<NetworkNameLookup()> networkNameSource;
};

}  // namespace vantorel
