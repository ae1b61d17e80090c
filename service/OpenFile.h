#pragma once

#include <cstdint>
#include <string>

namespace vantorel::service {

// A file opened for reading, closed with the object; its size is taken when
// it is opened, so the Content-Length sent matches what is then read.
class OpenFile {
public:
    OpenFile() = default;
    ~OpenFile();
    OpenFile(OpenFile&& other) noexcept;
    OpenFile& operator=(OpenFile&& other) noexcept;
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;

    // An ordinary file only; returns a closed object otherwise.
    static OpenFile open(const std::string& path);

    bool isOpen() const { return descriptor_ >= 0; }
    int descriptor() const { return descriptor_; }
    std::uint64_t size() const { return size_; }

private:
    int descriptor_ = -1;
    std::uint64_t size_ = 0;
};

}  // namespace vantorel::service
