#include "../RegistryKey.h"

#include <windows.h>

#include <vector>

#include "../Failure.h"

namespace vantorel {

struct RegistryKey::Impl {
    HKEY key = nullptr;
    ~Impl() {
        if (key) RegCloseKey(key);
    }
};

namespace {

// Key paths are written from the hive's root ("\Software\..."); the call
// wants them without the leading backslash.
std::string relativeKeyPath(const std::string& keyPath) {
    std::size_t start = 0;
    while (start < keyPath.size() && keyPath[start] == '\\') ++start;
    std::string path = keyPath.substr(start);
    while (!path.empty() && path.back() == '\\') path.pop_back();
    return path;
}

// The default value has no name.
const char* valueName(const std::string& name) {
    return name.empty() ? nullptr : name.c_str();
}

void setValue(const RegistryKey::Impl* d, const std::string& name, DWORD type, const BYTE* data,
              DWORD size) {
    if (!d || RegSetValueExA(d->key, valueName(name), 0, type, data, size) != ERROR_SUCCESS)
        throw Failure("Failed to set data for '" + name + "'");
}

}  // namespace

RegistryKey::RegistryKey() = default;
RegistryKey::~RegistryKey() = default;

bool RegistryKey::openOrCreate(const std::string& keyPath) {
    d_.reset();
    auto impl = std::make_unique<Impl>();
    if (RegCreateKeyExA(HKEY_CURRENT_USER, relativeKeyPath(keyPath).c_str(), 0, nullptr,
                        REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE, nullptr, &impl->key,
                        nullptr) != ERROR_SUCCESS) {
        impl->key = nullptr;
        return false;
    }
    d_ = std::move(impl);
    return true;
}

bool RegistryKey::isOpen() const {
    return d_ != nullptr;
}

void RegistryKey::close() {
    d_.reset();
}

std::string RegistryKey::readString(const std::string& name) const {
    if (!d_) return {};
    DWORD type = 0;
    DWORD size = 0;
    LONG result = RegQueryValueExA(d_->key, valueName(name), nullptr, &type, nullptr, &size);
    if (result != ERROR_SUCCESS) return {};  // a missing value reads as empty
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        throw Failure("Invalid data type for '" + name + "'");
    // The value may grow between the two calls; ask again while it does.
    std::vector<char> buffer;
    for (int attempt = 0; attempt < 8; ++attempt) {
        buffer.assign(size + 1, '\0');
        DWORD got = size;
        result = RegQueryValueExA(d_->key, valueName(name), nullptr, &type,
                                  reinterpret_cast<BYTE*>(buffer.data()), &got);
        if (result == ERROR_MORE_DATA) {
            size = got;
            continue;
        }
        if (result != ERROR_SUCCESS) return {};
        if (type != REG_SZ && type != REG_EXPAND_SZ)
            throw Failure("Invalid data type for '" + name + "'");
        std::string text(buffer.data(), got);
        // Stored strings end in a NUL, which is no part of the text.
        const auto nul = text.find('\0');
        if (nul != std::string::npos) text.resize(nul);
        return text;
    }
    return {};
}

void RegistryKey::writeString(const std::string& name, const std::string& value) {
    // Refused as on every system: no value of ours spans lines.
    if (name.find_first_of("\r\n") != std::string::npos ||
        value.find_first_of("\r\n") != std::string::npos)
        throw Failure("Failed to set data for '" + name + "'");
    setValue(d_.get(), name, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
             static_cast<DWORD>(value.size() + 1));
}

void RegistryKey::writeInteger(const std::string& name, std::uint32_t value) {
    const DWORD data = value;
    setValue(d_.get(), name, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof data);
}

}  // namespace vantorel
