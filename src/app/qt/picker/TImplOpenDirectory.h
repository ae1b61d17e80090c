#pragma once

#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>
#include <string>

#include "platform/NetworkName.h"

class QAbstractButton;

namespace vantorel {

class FolderDialog;
class FolderListView;
class SingleLineEdit;
class TOpenDirectory;

// The part of TOpenDirectory that exists only while a dialog runs: the dialog,
// its controls, the folder it shows and whether the mouse accepted. Created
// with the component and reused by every Execute; nothing of one run is used
// in the next.
class TImplOpenDirectory : public QObject {
    Q_OBJECT
public:
    explicit TImplOpenDirectory(TOpenDirectory* owner);
    ~TImplOpenDirectory() override;

    int Execute();
    void setNetworkNameSource(std::function<NetworkNameLookup()> source) {
        networkNameSource = std::move(source);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Prepare();
    void FolderChange(const std::string& reportedPath);
    void ListClick();
    void Close();
    void showInNameBox(const std::string& path);
    bool acceptButtonRelease(QEvent* event);

    TOpenDirectory* Owner;
    std::unique_ptr<FolderDialog> Dialog;
    bool Accepted = false;
    std::string TextBuffer;     // the last path handed to the name box
    std::string CurrentFolder;  // empty while the dialog shows no folder
    QPointer<QAbstractButton> AcceptButton;
    QPointer<FolderListView> FolderList;
    QPointer<SingleLineEdit> NameBox;
    bool closed = false;
    NetworkNameLookup networkNames;
    std::function<NetworkNameLookup()> networkNameSource;
};

}  // namespace vantorel
