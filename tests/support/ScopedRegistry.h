#pragma once

#include <string>
#include <vector>

#include "support/TempDir.h"

namespace vantorel::test {

// Keeps one test's registry writes from reaching the next test: POSIX keeps
// the registry file in a temp folder for the scope; Windows deletes the named
// keys (paths as the program writes them, "\Software\...") before and after.
class ScopedRegistry {
public:
    explicit ScopedRegistry(std::vector<std::string> keys) : keys_(std::move(keys)) { clear(); }
    ~ScopedRegistry() { clear(); }
    ScopedRegistry(const ScopedRegistry&) = delete;
    ScopedRegistry& operator=(const ScopedRegistry&) = delete;

    // The POSIX registry file (meaningless on Windows).
    std::string registryFile() const { return home_.registryFile(); }

private:
    void clear() {
#ifdef _WIN32
        for (const std::string& key : keys_) {
            const std::string relative = key.substr(key.find_first_not_of('\\'));
            RegDeleteTreeA(HKEY_CURRENT_USER, relative.c_str());
            RegDeleteKeyA(HKEY_CURRENT_USER, relative.c_str());
        }
#endif
    }

    ScopedConfigHome home_;
    std::vector<std::string> keys_;
};

}  // namespace vantorel::test
