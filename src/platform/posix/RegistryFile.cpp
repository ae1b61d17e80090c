#include "RegistryFile.h"

#include <strings.h>

#include <cstdio>

#include "../Paths.h"

namespace vantorel::posix {
namespace {

bool sameName(const std::string& a, const std::string& b) {
    return a.size() == b.size() && strncasecmp(a.c_str(), b.c_str(), a.size()) == 0;
}

// Reads a quoted string starting at text[pos] == '"'; pos ends after the closing quote.
bool readQuoted(const std::string& text, std::size_t& pos, std::string& out) {
    if (pos >= text.size() || text[pos] != '"') return false;
    ++pos;
    out.clear();
    while (pos < text.size()) {
        const char c = text[pos++];
        if (c == '\\' && pos < text.size()) {
            out += text[pos++];
        } else if (c == '"') {
            return true;
        } else {
            out += c;
        }
    }
    return false;
}

std::string quote(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '\\' || c == '"') out += '\\';
        out += c;
    }
    return out + "\"";
}

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

}  // namespace

std::string RegistryFile::defaultLocation() { return userConfigFolder() + "/registry.reg"; }

void RegistryFile::parse(const std::string& text) {
    keys_.clear();
    const auto lines = splitLines(text);
    Key* current = nullptr;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        if (line.empty() || line[0] == ';') continue;
        if (line[0] == '[') {
            const auto close = line.rfind(']');
            if (close == std::string::npos || close < 1) continue;
            current = &findOrAddKey(line.substr(1, close - 1));
            continue;
        }
        if (!current) continue;
        Value value;
        std::size_t pos = 0;
        if (line[0] == '@') {
            pos = 1;
        } else if (!readQuoted(line, pos, value.name)) {
            continue;
        }
        if (pos >= line.size() || line[pos] != '=') continue;
        ++pos;
        std::string data = line.substr(pos);
        if (!data.empty() && data[0] == '"') {
            std::size_t q = 0;
            if (!readQuoted(data, q, value.data)) continue;
            value.type = Type::String;
        } else {
            // Long binary values continue on the next lines after a trailing backslash.
            while (!data.empty() && data.back() == '\\' && i + 1 < lines.size())
                data += "\r\n" + lines[++i];
            value.type = data.rfind("dword:", 0) == 0 ? Type::Dword : Type::Other;
            value.data = data;
        }
        if (Value* old = findValue(*current, value.name)) {
            *old = value;
        } else {
            current->values.push_back(std::move(value));
        }
    }
}

std::string RegistryFile::serialize() const {
    std::string out = "Windows Registry Editor Version 5.00\r\n";
    for (const Key& key : keys_) {
        out += "\r\n[" + key.path + "]\r\n";
        for (const Value& value : key.values) {
            out += value.name.empty() ? std::string("@") : quote(value.name);
            out += "=";
            out += value.type == Type::String ? quote(value.data) : value.data;
            out += "\r\n";
        }
    }
    return out;
}

RegistryFile::Key* RegistryFile::findKey(const std::string& path) {
    for (Key& key : keys_)
        if (sameName(key.path, path)) return &key;
    return nullptr;
}

RegistryFile::Key& RegistryFile::findOrAddKey(const std::string& path) {
    if (Key* key = findKey(path)) return *key;
    keys_.push_back(Key{path, {}});
    return keys_.back();
}

RegistryFile::Value* RegistryFile::findValue(Key& key, const std::string& name) {
    for (Value& value : key.values)
        if (sameName(value.name, name)) return &value;
    return nullptr;
}

}  // namespace vantorel::posix
