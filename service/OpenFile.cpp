#include "OpenFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <utility>

namespace vantorel::service {

OpenFile::~OpenFile() {
    if (descriptor_ >= 0) ::close(descriptor_);
}

OpenFile::OpenFile(OpenFile&& other) noexcept
    : descriptor_(std::exchange(other.descriptor_, -1)), size_(other.size_) {}

OpenFile& OpenFile::operator=(OpenFile&& other) noexcept {
    if (this != &other) {
        if (descriptor_ >= 0) ::close(descriptor_);
        descriptor_ = std::exchange(other.descriptor_, -1);
        size_ = other.size_;
    }
    return *this;
}

OpenFile OpenFile::open(const std::string& path) {
    OpenFile file;
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
    if (descriptor < 0) return file;
    struct stat info {};
    if (::fstat(descriptor, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(descriptor);
        return file;
    }
    file.descriptor_ = descriptor;
    file.size_ = static_cast<std::uint64_t>(info.st_size);
    return file;
}

}  // namespace vantorel::service
