#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace vantorel {

// A key of the per-user registry. Key paths are written the Windows way,
// relative to HKEY_CURRENT_USER: "\\Software\\Vantorel Patent Downloader".
// An empty value name stands for the key's default value.
class RegistryKey {
public:
    RegistryKey();
    ~RegistryKey();
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    // Opens the key, creating it when missing. False when the registry refuses.
    bool openOrCreate(const std::string& keyPath);
    bool isOpen() const;
    void close();

    // A missing value reads as empty; a value of another type fails with
    // "Invalid data type for '<name>'".
    std::string readString(const std::string& name) const;
    // Failures: "Failed to set data for '<name>'" (also when the key is not open).
    void writeString(const std::string& name, const std::string& value);
    void writeInteger(const std::string& name, std::uint32_t value);

    struct Impl;  // backend state, defined by the platform's source file

private:
    std::unique_ptr<Impl> d_;
};

}  // namespace vantorel
