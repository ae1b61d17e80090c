#include "../TemporaryFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "../Failure.h"

namespace vantorel {
namespace {

// A file without any write bit counts as read-only even for root, as the
// attribute does on Windows; a folder cannot be replaced by a file.
bool replaceable(const std::string& target) {
    struct stat st {};
    if (stat(target.c_str(), &st) != 0) return true;
    return !S_ISDIR(st.st_mode) && (st.st_mode & 0222) != 0 && access(target.c_str(), W_OK) == 0;
}

}  // namespace

std::string TemporaryFile::folderOf(const std::string& path) {
    const auto cut = path.rfind('/');
    return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

TemporaryFile::TemporaryFile(const std::string& target) : target_(target) {
    const std::string cannotCreate = "Cannot create file " + target;
    if (target.empty() || target.back() == '/' || !replaceable(target)) throw Failure(cannotCreate);
    const std::string folder = folderOf(target);
    for (int attempt = 0; attempt < 16; ++attempt) {
        const std::string path = folder + freshName();
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0) {
            if (errno == EEXIST) continue;
            break;
        }
        // The lock tells removeStale that a writer still owns the file. It may
        // have removed the file between our open and our lock: then try anew.
        struct stat st {};
        if (flock(fd, LOCK_EX | LOCK_NB) != 0 || fstat(fd, &st) != 0 || st.st_nlink == 0) {
            ::close(fd);
            continue;
        }
        handle_ = fd;
        path_ = path;
        return;
    }
    throw Failure(cannotCreate);
}

TemporaryFile::~TemporaryFile() {
    discard();
}

void TemporaryFile::discard() {
    if (handle_ < 0) return;
    ::unlink(path_.c_str());
    ::close(static_cast<int>(handle_));
    handle_ = -1;
}

void TemporaryFile::write(const char* data, std::size_t size) {
    const int fd = static_cast<int>(handle_);
    while (size > 0) {
        const ssize_t n = fd < 0 ? -1 : ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            throw Failure("Cannot write file " + target_);
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
}

void TemporaryFile::commit() {
    if (handle_ < 0) throw Failure("Cannot write file " + target_);
    // A late write error (a full network disk, say) shows only when the file
    // is closed. A duplicate keeps the file open and locked meanwhile, so no
    // cleaner takes it before it has its final name.
    const int fd = static_cast<int>(handle_);
    const int keep = ::dup(fd);
    const bool closed = keep >= 0 && ::close(fd) == 0;
    if (keep < 0) ::close(fd);
    handle_ = keep;
    if (!closed) {
        if (keep < 0) ::unlink(path_.c_str());
        discard();
        throw Failure("Cannot write file " + target_);
    }
    if (!replaceable(target_) || std::rename(path_.c_str(), target_.c_str()) != 0) {
        discard();
        throw Failure("Cannot create file " + target_);
    }
    ::close(keep);
    handle_ = -1;
}

void TemporaryFile::removeStale(const std::string& patentPath) {
    const std::string folder = folderOf(patentPath);
    DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
    if (!dir) return;
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (!isOurName(name)) continue;
        const std::string path = folder + name;
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
        if (fd < 0) continue;
        struct stat st {};
        if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && flock(fd, LOCK_EX | LOCK_NB) == 0)
            ::unlink(path.c_str());
        ::close(fd);
    }
    closedir(dir);
}

}  // namespace vantorel
