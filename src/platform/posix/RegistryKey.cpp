#include "../RegistryKey.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>

#include "../Failure.h"
#include "AtomicWrite.h"
#include "RegistryFile.h"

namespace vantorel {

struct RegistryKey::Impl {
    std::string file;
    std::string path;  // full key path, "HKEY_CURRENT_USER\\..."
};

namespace {

bool load(const std::string& file, posix::RegistryFile& registry) {
    std::string text;
    if (posix::readWholeFile(file, text)) {
        registry.parse(text);
        return true;
    }
    registry.parse({});
    return errno == ENOENT;
}

bool store(const std::string& file, const posix::RegistryFile& registry) {
    const auto slash = file.rfind('/');
    if (slash != std::string::npos && slash > 0) {
        // Create the folder chain; existing parts are fine.
        for (std::size_t p = file.find('/', 1); p != std::string::npos && p <= slash;
             p = file.find('/', p + 1))
            mkdir(file.substr(0, p).c_str(), 0700);
    }
    return posix::writeAtomically(file, registry.serialize(), {.ownerOnly = true, .sync = true}) ==
           posix::WriteResult::Ok;
}

std::string hexDword(std::uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "%08x", value);
    return text;
}

}  // namespace

RegistryKey::RegistryKey() = default;
RegistryKey::~RegistryKey() = default;

bool RegistryKey::openOrCreate(const std::string& keyPath) {
    d_.reset();
    auto impl = std::make_unique<Impl>();
    impl->file = posix::RegistryFile::defaultLocation();
    impl->path = "HKEY_CURRENT_USER" +
                 std::string(keyPath.empty() || keyPath[0] != '\\' ? "\\" : "") + keyPath;
    while (impl->path.size() > 1 && impl->path.back() == '\\') impl->path.pop_back();
    posix::RegistryFile registry;
    if (!load(impl->file, registry)) return false;
    if (!registry.findKey(impl->path)) {
        registry.findOrAddKey(impl->path);
        if (!store(impl->file, registry)) return false;
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
    posix::RegistryFile registry;
    load(d_->file, registry);
    auto* key = registry.findKey(d_->path);
    if (!key) return {};
    auto* value = posix::RegistryFile::findValue(*key, name);
    if (!value) return {};
    if (value->type != posix::RegistryFile::Type::String)
        throw Failure("Invalid data type for '" + name + "'");
    return value->data;
}

namespace {

void writeValue(const RegistryKey::Impl* d, const std::string& name, posix::RegistryFile::Type type,
                const std::string& data) {
    const std::string failure = "Failed to set data for '" + name + "'";
    // A line break would add lines, keys or values of its own to the file.
    if (!d || name.find_first_of("\r\n") != std::string::npos ||
        data.find_first_of("\r\n") != std::string::npos)
        throw Failure(failure);
    posix::RegistryFile registry;
    if (!load(d->file, registry)) throw Failure(failure);
    auto& key = registry.findOrAddKey(d->path);
    if (auto* value = posix::RegistryFile::findValue(key, name)) {
        value->type = type;
        value->data = data;
    } else {
        key.values.push_back({name, type, data});
    }
    if (!store(d->file, registry)) throw Failure(failure);
}

}  // namespace

void RegistryKey::writeString(const std::string& name, const std::string& value) {
    writeValue(d_.get(), name, posix::RegistryFile::Type::String, value);
}

void RegistryKey::writeInteger(const std::string& name, std::uint32_t value) {
    writeValue(d_.get(), name, posix::RegistryFile::Type::Dword, "dword:" + hexDword(value));
}

}  // namespace vantorel
