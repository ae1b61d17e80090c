#include "../FileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "../TemporaryFile.h"

namespace vantorel {

std::vector<FoundFile> findFiles(const std::string& folder, const std::string& mask) {
    std::vector<FoundFile> found;
    const std::string dirPath = folder.empty() ? "." : folder;
    DIR* dir = opendir(dirPath.c_str());
    if (!dir) return found;
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name.empty() || name[0] == '.') continue;  // hidden, and "." / ".."
        if (!matchesMask(name, mask)) continue;
        struct stat st {};
        const std::string full = folder.empty() ? name : folder + name;
        if (stat(full.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
        found.push_back({name, st.st_mtime});
    }
    closedir(dir);
    return found;
}

bool fileCanBeOpened(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st {};
    const bool regular = fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    ::close(fd);
    return regular;
}

void writeWholeFile(const std::string& path, std::string_view data) {
    TemporaryFile file(path);
    file.write(data.data(), data.size());
    file.commit();
}

bool removeFile(const std::string& path) {
    return ::unlink(path.c_str()) == 0;
}

}  // namespace vantorel
