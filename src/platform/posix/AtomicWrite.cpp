#include "AtomicWrite.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <vector>

namespace vantorel::posix {
namespace {

mode_t processUmask() {
    static const mode_t mask = [] {
        const mode_t m = umask(022);
        umask(m);
        return m;
    }();
    return mask;
}

std::string folderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string nameOf(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

WriteResult writeAtomically(const std::string& path, std::string_view data,
                            AtomicWriteOptions options) {
    const std::string name = nameOf(path);
    if (name.empty()) return WriteResult::CannotCreate;
    struct stat st {};
    if (stat(path.c_str(), &st) == 0) {
        // A directory, or a read-only file, cannot be replaced. A file without any
        // write bit counts as read-only even for root, as the attribute does on Windows.
        if (S_ISDIR(st.st_mode) || (st.st_mode & 0222) == 0 || access(path.c_str(), W_OK) != 0)
            return WriteResult::CannotCreate;
    }
    std::string temp = folderOf(path) + "/." + name + ".XXXXXX";
    std::vector<char> pattern(temp.begin(), temp.end());
    pattern.push_back('\0');
    const int fd = mkstemp(pattern.data());
    if (fd < 0) return WriteResult::CannotCreate;
    temp.assign(pattern.data());

    const mode_t mode = options.ownerOnly ? 0600 : (0666 & ~processUmask());
    fchmod(fd, mode);

    bool ok = true;
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            ok = false;
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    if (ok && options.sync && fsync(fd) != 0) ok = false;
    if (::close(fd) != 0) ok = false;
    if (!ok) {
        unlink(temp.c_str());
        return WriteResult::CannotWrite;
    }
    if (std::rename(temp.c_str(), path.c_str()) != 0) {
        unlink(temp.c_str());
        return WriteResult::CannotCreate;
    }
    return WriteResult::Ok;
}

bool readWholeFile(const std::string& path, std::string& out) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    out.clear();
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) continue;
            ::close(fd);
            return false;
        }
        if (n == 0) break;
        out.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return true;
}

}  // namespace vantorel::posix
