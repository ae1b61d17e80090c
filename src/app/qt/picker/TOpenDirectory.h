#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <string>

#include "platform/NetworkName.h"

namespace vantorel {

class TImplOpenDirectory;

// A notify event: one sender, no result; raised only when assigned.
using TNotifyEvent = std::function<void(QObject* Sender)>;

// Lets the user choose a folder. The window owns one; Execute runs the folder
// dialog and leaves the choice in Directory and UNCDirectory. Everything that
// lives only while a dialog runs belongs to the companion TImplOpenDirectory,
// which is also the sender of the three events.
class TOpenDirectory : public QObject {
    Q_OBJECT
public:
    explicit TOpenDirectory(QObject* owner = nullptr);
    ~TOpenDirectory() override;

    // 1 when the user accepted a folder with the mouse, 0 otherwise (then both
    // results are empty). With NoChangeDir false an accepted pick also moves
    // the working directory to it, so the next pick starts there.
    int Execute();

    std::string Directory;     // local form; live while the dialog runs
    bool EnableSizing = true;  // the dialog can be resized
    std::string InitialDir;    // empty: the working directory
    bool NoChangeDir = false;  // never move the working directory
    std::string Title;         // empty: the dialog's own caption
    std::string UNCDirectory;  // network form ("//server/share/..."), or empty

    TNotifyEvent OnClose;  // once per run, when the dialog ends, before the results are final
    TNotifyEvent OnFolderChange;  // the first folder, then every navigation
    TNotifyEvent OnShow;          // once per run, when the dialog is about to be seen

    // Where each run takes its network-name lookup from (the system's by
    // default); tests feed sample mount tables here.
    void setNetworkNameSource(std::function<NetworkNameLookup()> source);

private:
    std::unique_ptr<TImplOpenDirectory> Impl;
};

}  // namespace vantorel
