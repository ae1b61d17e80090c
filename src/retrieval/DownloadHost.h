#pragma once

#include <string>

#include "retrieval/BodySink.h"
#include "settings/CurrentSettings.h"

namespace vantorel {

// What the download command reads from and shows in the main window.
class DownloadHost {
public:
    virtual ~DownloadHost() = default;

    virtual std::string requestText() const = 0;  // the patent field
    virtual std::string timeoutText() const = 0;  // the time-out field, whole seconds
    virtual int viewingPreference() const = 0;    // 0 all, 1 first only, 2 none; -1 none chosen
    virtual const CurrentSettings& currentSettings() const = 0;  // read afresh at each use
    virtual std::string serviceHost() const = 0;
    // Extra trusted roots for https, read afresh like the host.
    virtual std::string caFile() const = 0;

    // Disables or enables the download button and the patent field; enabling
    // also enables the tab control.
    virtual void setCommandEnabled(bool enabled) = 0;
    virtual void setProgress(int position) = 0;
    // Lets the window handle its pending events while a transfer blocks.
    virtual void processEvents() = 0;

    virtual void showMessage(const std::string& text) = 0;
    virtual bool askYesNo(const std::string& text, const std::string& title) = 0;
    virtual void openDocument(const std::string& path) = 0;
    virtual void rescanPatents() = 0;
};

// What the download command needs from the HTTP client.
class PageGetter {
public:
    virtual ~PageGetter() = default;
    virtual std::string get(const std::string& url) = 0;
    // The body handed on block by block as it arrives. By default it is
    // fetched whole and handed on in one piece.
    virtual void getTo(const std::string& url, const BodySink& sink) {
        const std::string body = get(url);
        if (!body.empty()) sink(body.data(), body.size());
    }
    virtual void setReadTimeout(int milliseconds) = 0;
    virtual void setCaFile(const std::string&) {}
    // The declared length of the reply being read, -1 when it declares none.
    virtual long long expectedLength() const = 0;
    // The status with which the server refused the last request, 0 when the
    // last request was not refused by a status.
    virtual int refusedStatus() const { return 0; }
};

}  // namespace vantorel
