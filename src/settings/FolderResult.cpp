#include "settings/FolderResult.h"

#include "settings/OpenDirectoryProperties.h"

#include "platform/Paths.h"

namespace vantorel {
namespace {

bool isNetworkPath(const std::string& path) {
    return path.size() >= 2 && path[0] == kPathSeparator && path[1] == kPathSeparator;
}

// A path from a root: a drive path ("C:\...") on Windows, an absolute path here.
bool isRootedPath(const std::string& path) {
    return (path.size() >= 2 && path[1] == ':') || (!path.empty() && path[0] == kPathSeparator);
}

bool isRoot(const std::string& path) {
    return path.size() == 1 || (path.size() == 3 && path[1] == ':');
}

}  // namespace

FolderResult FolderResult::accepted(const std::string& directory, const std::string& uncDirectory,
                                    bool noChangeDir) {
    FolderResult r{directory, uncDirectory, std::nullopt};
    if (isNetworkPath(uncDirectory)) {
        if (uncDirectory == directory) {
            // Reached by its network name: there is no local form to hand back.
            r.directory.clear();
            if (!noChangeDir) r.workingDirectory = uncDirectory;
        } else if (!noChangeDir) {
            r.workingDirectory = directory;
        }
    } else if (isRootedPath(directory)) {
        if (!noChangeDir) r.workingDirectory = directory;
        if (uncDirectory == directory) r.uncDirectory.clear();
    }
    return r;
}

std::string pickerInitialFolder(const std::string& initialDir,
                                const std::string& workingDirectory) {
    std::string folder = initialDir.empty() ? workingDirectory : initialDir;
    if (!folder.empty() && folder.back() == kPathSeparator && !isRoot(folder)) folder.pop_back();
    return folder;
}

std::string listClickPath(const std::string& currentFolder, const std::string& name) {
    if (currentFolder.empty() || name.empty()) return {};
    if (currentFolder.back() == kPathSeparator) return currentFolder + name;
    return currentFolder + kPathSeparator + name;
}

std::string networkForm(const std::string& path, const NetworkNameLookup& names) {
    const std::string full = fullPath(path);
    if (full.empty() || !names) return {};
    return names(full);
}

int endPickerRun(bool accepted, std::string& directory, std::string& uncDirectory,
                 bool noChangeDir) {
    if (!accepted) {
        directory.clear();
        uncDirectory.clear();
        return 0;
    }
    const FolderResult r = FolderResult::accepted(directory, uncDirectory, noChangeDir);
    directory = r.directory;
    uncDirectory = r.uncDirectory;
    if (r.workingDirectory) setCurrentDirectory(*r.workingDirectory);  // a refusal is ignored
    return 1;
}

}  // namespace vantorel
