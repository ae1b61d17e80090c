#pragma once

#include <optional>
#include <string>

#include "platform/NetworkName.h"

namespace vantorel {

// What an accepted folder pick leaves behind: the two forms of the folder and,
// when set, the folder the working directory moves to.
struct FolderResult {
    std::string directory;     // local form, or empty for a folder known only by its network name
    std::string uncDirectory;  // network form ("//server/share/..."), or empty
    std::optional<std::string> workingDirectory;

    // Applies the result rules to the folder forms the dialog left. Comparisons
    // are exact and case-sensitive; `noChangeDir` keeps the working directory.
    static FolderResult accepted(const std::string& directory, const std::string& uncDirectory,
                                 bool noChangeDir);
};

// The folder the picker opens in: `initialDir`, or the working directory when
// it is empty, with one trailing separator dropped unless the folder is a root.
std::string pickerInitialFolder(const std::string& initialDir, const std::string& workingDirectory);

// The folder a click on the list item `name` stands for; empty when either part
// is empty (nothing is to change then). A folder ending in a separator (the
// root) is not given a second one.
std::string listClickPath(const std::string& currentFolder, const std::string& name);

// The network form of a path: expanded against the working directory, then
// given to `names` (see NetworkNameLookup); empty for an empty path.
std::string networkForm(const std::string& path, const NetworkNameLookup& names);

}  // namespace vantorel
