#pragma once

#include <optional>
#include <string>
#include <vector>

#include "retrieval/DownloadHost.h"

namespace vantorel {

// "Download Patent": one fetch request, then every listed file into the
// patent folder, with questions, messages, viewing and the progress bar.
class DownloadCommand {
public:
    DownloadCommand(DownloadHost& host, PageGetter& getter) : host_(host), getter_(getter) {}

    // Runs the whole command. Failures other than those of HTTP requests
    // propagate to the caller (the error box) after the window is restored.
    void run();

    // The transfer progress handler: pumps the window, then moves the bar.
    void onWork(long long count);

    // The three-line text that replaces a fetch request's time-out failure.
    static std::string timeoutMessage();

    bool fetchingFiles() const { return FetchingFiles; }
    int fileCount() const { return FileCount; }
    int fileIndex() const { return FileIndex; }

private:
    // The Index responses for the request, split while the service refuses
    // it as too long; false (the failure shown) when one cannot be had.
    bool fetchIndexes(const std::string& request, std::vector<std::string>* bodies);
    // False when the run must stop.
    bool processEntry(int index, const std::string& entry, int share);
    // Streams one file into the patent folder; false when the run must stop.
    bool fetchFile(const std::string& address, const std::string& path);

    DownloadHost& host_;
    PageGetter& getter_;
    bool FetchingFiles = false;
    int FileCount = 0;
    int FileIndex = 0;
    int share_ = 0;
    std::string fetchAddress_;  // an https one keeps the files on https
    // The folder whose stale temporary files this run has removed.
    std::optional<std::string> cleanedFolder_;
};

}  // namespace vantorel
