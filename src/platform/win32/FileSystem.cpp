#include "../FileSystem.h"

#include <windows.h>

#include <string>

#include "../TemporaryFile.h"
#include "FileTimes.h"

namespace vantorel {
namespace {

// Directories, hidden and system files and volume labels are no documents.
constexpr DWORD kNotListed =
    FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | 0x8;

}  // namespace

std::vector<FoundFile> findFiles(const std::string& folder, const std::string& mask) {
    std::vector<FoundFile> found;
    WIN32_FIND_DATAA data{};
    HANDLE search = FindFirstFileA((folder + mask).c_str(), &data);
    if (search == INVALID_HANDLE_VALUE) return found;
    do {
        if (data.dwFileAttributes & kNotListed) continue;
        // The search also matches short 8.3 names ("a.pdfx" is "A~1.PDF"):
        // only the long name decides.
        if (!matchesMask(data.cFileName, mask)) continue;
        found.push_back({data.cFileName, win32::timeFromFileTime(data.ftLastWriteTime)});
    } while (FindNextFileA(search, &data));
    FindClose(search);
    return found;
}

bool fileCanBeOpened(const std::string& path) {
    // Exclusive read access: a file that another program holds open counts as absent.
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return true;
}

void writeWholeFile(const std::string& path, std::string_view data) {
    TemporaryFile file(path);
    file.write(data.data(), data.size());
    file.commit();
}

bool removeFile(const std::string& path) {
    return DeleteFileA(path.c_str()) != 0;
}

}  // namespace vantorel
