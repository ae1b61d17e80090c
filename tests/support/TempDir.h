#pragma once

#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace vantorel::test {

// A fresh folder under the system temp folder, removed with everything in it.
class TempDir {
public:
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "vantorel-XXXXXX").string();
        path_ = mkdtemp(pattern.data());
    }
    ~TempDir() {
        std::error_code ignored;
        // Read-only leftovers of a test must not stop the clean-up.
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    // Folder path ending in a separator, as PatentPath is kept.
    std::string folder() const { return path_ + "/"; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

inline std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void writeFile(const std::string& path, const std::string& data) {
    std::ofstream(path, std::ios::binary) << data;
}

// Points the per-user configuration (the registry file) at a temp folder for one test.
class ScopedConfigHome {
public:
    ScopedConfigHome() {
        const char* old = getenv("XDG_CONFIG_HOME");
        if (old) old_ = old, hadOld_ = true;
        setenv("XDG_CONFIG_HOME", dir_.path().c_str(), 1);
    }
    ~ScopedConfigHome() {
        if (hadOld_) setenv("XDG_CONFIG_HOME", old_.c_str(), 1);
        else unsetenv("XDG_CONFIG_HOME");
    }
    std::string registryFile() const { return dir_.path() + "/vantorel/registry.reg"; }

private:
    TempDir dir_;
    std::string old_;
    bool hadOld_ = false;
};

}  // namespace vantorel::test
