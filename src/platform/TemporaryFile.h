#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace vantorel {

// A file written beside its target under a short name of our own and moved
// over the target only when complete, so the target is either the old file
// or the whole new one, and any name the folder allows can be saved. A
// temporary file that is not committed is removed when this goes; one left
// behind by a killed run is removed by removeStale.
class TemporaryFile {
public:
    // Fails with "Cannot create file <target>" when the target cannot be
    // replaced (a folder, read-only, held open) or no temporary file can be
    // made beside it.
    explicit TemporaryFile(const std::string& target);
    ~TemporaryFile();
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    // Fails with "Cannot write file <target>".
    void write(const char* data, std::size_t size);
    // Moves the bytes over the target; fails like write, or with "Cannot
    // create file <target>" when the target cannot be replaced.
    void commit();

    const std::string& path() const { return path_; }
    // Closes and removes the temporary file now; the target stays as it was.
    void discard();

    // Removes our temporary files where files named patentPath + name land
    // (the folder itself when it ends in a separator, else the one holding
    // it) that no running writer holds; other files, hidden or not, stay.
    static void removeStale(const std::string& patentPath);
    // Whether a file name is one of ours.
    static bool isOurName(const std::string& name);

private:
    static std::string freshName();
    static std::string folderOf(const std::string& path);

    std::string target_;
    std::string path_;
    std::intptr_t handle_ = -1;  // the backend's descriptor or handle
};

}  // namespace vantorel
