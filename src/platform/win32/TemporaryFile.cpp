#include "../TemporaryFile.h"

#include <windows.h>

#include "../Failure.h"

namespace vantorel {
namespace {

HANDLE nativeHandle(std::intptr_t handle) {
    return reinterpret_cast<HANDLE>(handle);
}

// An existing target must be one we could open for writing alone: not
// read-only, not a folder, not held open by another program.
bool replaceable(const std::string& target) {
    if (GetFileAttributesA(target.c_str()) == INVALID_FILE_ATTRIBUTES) return true;
    HANDLE file = CreateFileA(target.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return true;
}

}  // namespace

std::string TemporaryFile::folderOf(const std::string& path) {
    const auto cut = path.find_last_of("\\/:");
    return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

TemporaryFile::TemporaryFile(const std::string& target) : target_(target) {
    const std::string cannotCreate = "Cannot create file " + target;
    const std::string folder = folderOf(target);
    if (folder.size() == target.size() || !replaceable(target)) throw Failure(cannotCreate);
    for (int attempt = 0; attempt < 16; ++attempt) {
        const std::string path = folder + freshName();
        // Shared with nobody: removeStale cannot delete it while we write.
        HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            if (GetLastError() == ERROR_FILE_EXISTS) continue;
            break;
        }
        handle_ = reinterpret_cast<std::intptr_t>(file);
        path_ = path;
        return;
    }
    throw Failure(cannotCreate);
}

TemporaryFile::~TemporaryFile() {
    discard();
}

void TemporaryFile::discard() {
    if (handle_ == -1) return;
    CloseHandle(nativeHandle(handle_));
    handle_ = -1;
    DeleteFileA(path_.c_str());
}

void TemporaryFile::write(const char* data, std::size_t size) {
    while (size > 0) {
        const DWORD chunk = size > (1u << 30) ? (1u << 30) : static_cast<DWORD>(size);
        DWORD written = 0;
        if (handle_ == -1 || !WriteFile(nativeHandle(handle_), data, chunk, &written, nullptr) ||
            written == 0)
            throw Failure("Cannot write file " + target_);
        data += written;
        size -= written;
    }
}

void TemporaryFile::commit() {
    if (handle_ == -1) throw Failure("Cannot write file " + target_);
    const bool closed = CloseHandle(nativeHandle(handle_)) != 0;
    handle_ = -1;
    if (!closed) {
        DeleteFileA(path_.c_str());
        throw Failure("Cannot write file " + target_);
    }
    if (!replaceable(target_) ||
        !MoveFileExA(path_.c_str(), target_.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        DeleteFileA(path_.c_str());
        throw Failure("Cannot create file " + target_);
    }
}

void TemporaryFile::removeStale(const std::string& patentPath) {
    const std::string folder = folderOf(patentPath);
    WIN32_FIND_DATAA data{};
    HANDLE search = FindFirstFileA((folder + ".vantorel-*.tmp").c_str(), &data);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        // A file still being written is open without sharing: deleting it fails.
        if (isOurName(data.cFileName)) DeleteFileA((folder + data.cFileName).c_str());
    } while (FindNextFileA(search, &data));
    FindClose(search);
}

}  // namespace vantorel
