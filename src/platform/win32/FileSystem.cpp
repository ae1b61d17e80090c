#include "../FileSystem.h"

#include <windows.h>

#include <atomic>
#include <string>

#include "../Failure.h"
#include "FileTimes.h"

namespace vantorel {
namespace {

// Directories, hidden and system files and volume labels are no documents.
constexpr DWORD kNotListed =
    FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | 0x8;

std::string folderOf(const std::string& path) {
    const auto cut = path.find_last_of("\\/:");
    return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

std::string nameOf(const std::string& path) {
    const auto cut = path.find_last_of("\\/:");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

// A fresh name beside the target. It ends in neither the target's extension
// nor ".pdf", so a scan of the folder never lists a half-written file.
std::string temporaryName(const std::string& path, unsigned attempt) {
    static std::atomic<unsigned> counter{0};
    const unsigned serial = counter++;
    return folderOf(path) + "." + nameOf(path) + "." + std::to_string(GetCurrentProcessId()) + "-" +
           std::to_string(serial) + "-" + std::to_string(attempt) + ".tmp~";
}

bool writeAll(HANDLE file, std::string_view data) {
    while (!data.empty()) {
        const DWORD chunk = data.size() > (1u << 30) ? (1u << 30) : static_cast<DWORD>(data.size());
        DWORD written = 0;
        if (!WriteFile(file, data.data(), chunk, &written, nullptr) || written == 0) return false;
        data.remove_prefix(written);
    }
    return true;
}

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
    const std::string cannotCreate = "Cannot create file " + path;
    if (nameOf(path).empty()) throw Failure(cannotCreate);

    // An existing target must be one we could open for writing alone: not
    // read-only, not a folder, not held open by another program.
    if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) {
        HANDLE target = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
        if (target == INVALID_HANDLE_VALUE) throw Failure(cannotCreate);
        CloseHandle(target);
    }

    std::string temp;
    HANDLE file = INVALID_HANDLE_VALUE;
    for (unsigned attempt = 0; attempt < 16 && file == INVALID_HANDLE_VALUE; ++attempt) {
        temp = temporaryName(path, attempt);
        file = CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) break;
    }
    if (file == INVALID_HANDLE_VALUE) throw Failure(cannotCreate);

    const bool written = writeAll(file, data);
    const bool closed = CloseHandle(file) != 0;
    if (!written || !closed) {
        DeleteFileA(temp.c_str());
        throw Failure("Cannot write file " + path);
    }
    if (!MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        DeleteFileA(temp.c_str());
        throw Failure(cannotCreate);
    }
}

bool removeFile(const std::string& path) {
    return DeleteFileA(path.c_str()) != 0;
}

}  // namespace vantorel
