#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <string>

#include "platform/NetworkName.h"
#include "settings/OpenDirectoryProperties.h"

namespace vantorel {

class TImplOpenDirectory;

using TNotifyEvent = OpenDirectoryProperties<QObject>::TNotifyEvent;

// Lets the user choose a folder. The window owns one; Execute runs the folder
// dialog and leaves the choice in Directory and UNCDirectory. Everything that
// lives only while a dialog runs belongs to the companion TImplOpenDirectory,
// which is also the sender of the three events.
class TOpenDirectory : public QObject, public OpenDirectoryProperties<QObject> {
    Q_OBJECT
public:
    explicit TOpenDirectory(QObject* owner = nullptr);
    ~TOpenDirectory() override;

    // 1 when the user accepted a folder with the mouse, 0 otherwise (then both
    // results are empty). With NoChangeDir false an accepted pick also moves
    // the working directory to it, so the next pick starts there.
    int Execute();

    // Where each run takes its network-name lookup from (the system's by
    // default); tests feed sample mount tables here.
    void setNetworkNameSource(std::function<NetworkNameLookup()> source);

private:
    std::unique_ptr<TImplOpenDirectory> Impl;
};

}  // namespace vantorel
