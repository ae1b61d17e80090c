#pragma once

#include <string>
#include <string_view>

namespace vantorel::posix {

enum class WriteResult { Ok, CannotCreate, CannotWrite };

struct AtomicWriteOptions {
    bool ownerOnly = false;  // mode 0600 instead of the umask's default
    bool sync = false;       // fsync before the rename, for small precious files
};

// Writes `data` to a temporary file beside `path` and renames it over `path`
// only when every byte is out, so readers see the old file or the new one.
WriteResult writeAtomically(const std::string& path, std::string_view data,
                            AtomicWriteOptions options = {});

// Reads a whole file; false when it cannot be opened.
bool readWholeFile(const std::string& path, std::string& out);

}  // namespace vantorel::posix
