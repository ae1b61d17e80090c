#pragma once

#include <functional>
#include <string>

namespace vantorel {

// What both windows' folder pickers (TOpenDirectory) publish, stored with the
// window's design, and the step that ends each of their runs. `Sender` is the
// type each toolkit's events carry.
template <class Sender>
struct OpenDirectoryProperties {
    // A notify event: one sender, no result; raised only when assigned.
    using TNotifyEvent = std::function<void(Sender* sender)>;

    std::string Directory;     // local form; live while the dialog runs
    bool EnableSizing = true;  // the dialog can be resized
    std::string InitialDir;    // empty: the working directory
    bool NoChangeDir = false;  // never move the working directory
    std::string Title;         // empty: the dialog's own caption
    std::string UNCDirectory;  // network form, or empty

    TNotifyEvent OnClose;  // once per run, when the dialog ends, before the results are final
    TNotifyEvent OnFolderChange;  // the first folder, then every navigation
    TNotifyEvent OnShow;          // once per run, when the dialog is about to be seen
};

// Ends a picker run as Execute reports it: an accepted pick takes the result
// rules (FolderResult) and moves the working directory as they say, 1; any
// other end leaves both results empty, 0.
int endPickerRun(bool accepted, std::string& directory, std::string& uncDirectory,
                 bool noChangeDir);

}  // namespace vantorel
