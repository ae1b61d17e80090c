#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#endif

namespace vantorel::test {

// The separator the program joins paths with (platform/Paths.h), repeated
// here so that suites without the platform library can use these helpers.
#ifdef _WIN32
inline constexpr char kSeparator = '\\';
#else
inline constexpr char kSeparator = '/';
#endif

// A fresh folder under the system temp folder, removed with everything in it.
class TempDir {
public:
    TempDir() {
        const auto base = std::filesystem::temp_directory_path();
        std::random_device seed;
        std::mt19937_64 random(seed());
        for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
            const auto candidate = base / ("vantorel-" + std::to_string(random() % 1000000000));
            std::error_code error;
            if (std::filesystem::create_directory(candidate, error)) path_ = candidate.string();
        }
        // Paths are handed on as the program builds them, with its own separator.
        while (path_.size() > 1 && (path_.back() == '/' || path_.back() == '\\')) path_.pop_back();
    }
    ~TempDir() {
        std::error_code ignored;
        // Read-only leftovers of a test must not stop the clean-up.
        for (auto it = std::filesystem::recursive_directory_iterator(path_, ignored);
             it != std::filesystem::recursive_directory_iterator(); it.increment(ignored))
            std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::add, ignored);
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    // Folder path ending in a separator, as PatentPath is kept.
    std::string folder() const { return path_ + kSeparator; }
    std::string file(const std::string& name) const { return path_ + kSeparator + name; }

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

// A file that no listing may show: POSIX hides names that start with a
// point, Windows hides by attribute.
inline void makeHidden([[maybe_unused]] const std::string& path) {
#ifdef _WIN32
    SetFileAttributesA(path.c_str(), GetFileAttributesA(path.c_str()) | FILE_ATTRIBUTE_HIDDEN);
#endif
}

// Takes away the write permission, as a read-only file or attribute does.
inline void makeReadOnly(const std::string& path) {
    using std::filesystem::perms;
    std::filesystem::permissions(path,
                                 perms::owner_write | perms::group_write | perms::others_write,
                                 std::filesystem::perm_options::remove);
}

// Keeps a file from being replaced for one scope, as the platform refuses:
// POSIX takes away its write permission (refused even to root by the
// program's own check), Windows holds it open without sharing, as a program
// that has it in use does. Read the file only after the scope.
class Unwritable {
public:
    explicit Unwritable(const std::string& path) : path_(path) {
#ifdef _WIN32
        handle_ = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
#else
        makeReadOnly(path);
#endif
    }
    ~Unwritable() {
#ifdef _WIN32
        if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
#else
        std::error_code ignored;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_write,
                                     std::filesystem::perm_options::add, ignored);
#endif
    }
    Unwritable(const Unwritable&) = delete;
    Unwritable& operator=(const Unwritable&) = delete;

private:
    std::string path_;
#ifdef _WIN32
    HANDLE handle_ = INVALID_HANDLE_VALUE;
#endif
};

// Sets an environment variable for one scope and puts the old state back.
class ScopedEnv {
public:
    ScopedEnv(const std::string& name, const std::string& value) : name_(name) {
        if (const char* old = std::getenv(name.c_str())) old_ = old, hadOld_ = true;
        set(value);
    }
    ~ScopedEnv() {
        if (hadOld_)
            set(old_);
        else
            unset();
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    void set(const std::string& value) {
#ifdef _WIN32
        _putenv_s(name_.c_str(), value.c_str());
#else
        setenv(name_.c_str(), value.c_str(), 1);
#endif
    }
    void unset() {
#ifdef _WIN32
        _putenv_s(name_.c_str(), "");
#else
        unsetenv(name_.c_str());
#endif
    }

    std::string name_;
    std::string old_;
    bool hadOld_ = false;
};

// Points the per-user configuration (the POSIX registry file) at a temp folder for one test.
class ScopedConfigHome {
public:
    ScopedConfigHome() : env_("XDG_CONFIG_HOME", dir_.path()) {}
    std::string registryFile() const { return dir_.path() + "/vantorel/registry.reg"; }

private:
    TempDir dir_;
    ScopedEnv env_;
};

}  // namespace vantorel::test
