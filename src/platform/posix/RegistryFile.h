#pragma once

#include <string>
#include <vector>

namespace vantorel::posix {

// The per-user registry kept as a text file in registry-export form.
class RegistryFile {
public:
    enum class Type { String, Dword, Other };
    struct Value {
        std::string name;  // empty for the default value "@"
        Type type = Type::String;
        std::string data;  // decoded text for String, raw text after "=" otherwise
    };
    struct Key {
        std::string path;  // "HKEY_CURRENT_USER\\Software\\..."
        std::vector<Value> values;
    };

    static std::string defaultLocation();

    void parse(const std::string& text);
    std::string serialize() const;

    Key* findKey(const std::string& path);
    Key& findOrAddKey(const std::string& path);
    static Value* findValue(Key& key, const std::string& name);

    const std::vector<Key>& keys() const { return keys_; }

private:
    std::vector<Key> keys_;
};

}  // namespace vantorel::posix
