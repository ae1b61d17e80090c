#include "../PrivateProfile.h"

#include <strings.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "AtomicWrite.h"

namespace vantorel {
namespace {

struct Lines {
    std::vector<std::string> lines;
    std::string lineEnd = "\n";
};

Lines splitLines(const std::string& text) {
    Lines out;
    if (text.find("\r\n") != std::string::npos) out.lineEnd = "\r\n";
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        out.lines.push_back(std::move(line));
        start = end + 1;
    }
    return out;
}

std::string trim(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

bool sameName(const std::string& a, const std::string& b) {
    return a.size() == b.size() && strncasecmp(a.c_str(), b.c_str(), a.size()) == 0;
}

// The section a line opens, or nullptr-like false when it is no section line.
bool sectionName(const std::string& line, std::string& name) {
    const std::string t = trim(line);
    if (t.size() < 2 || t.front() != '[') return false;
    const auto close = t.find(']');
    if (close == std::string::npos) return false;
    name = trim(t.substr(1, close - 1));
    return true;
}

// Splits "key=value"; false for lines without "=".
bool keyValue(const std::string& line, std::string& key, std::string& value) {
    const auto eq = line.find('=');
    if (eq == std::string::npos) return false;
    key = trim(line.substr(0, eq));
    value = line.substr(eq + 1);
    return true;
}

}  // namespace

std::string PrivateProfile::readString(const std::string& section, const std::string& key,
                                       const std::string& defaultValue, const std::string& file) {
    std::string text;
    if (!posix::readWholeFile(file, text)) return defaultValue.substr(0, kMaxValueLength);
    bool inSection = false;
    for (const std::string& line : splitLines(text).lines) {
        std::string name, k, v;
        if (sectionName(line, name)) {
            inSection = sameName(name, section);
            continue;
        }
        if (!inSection || !keyValue(line, k, v) || !sameName(k, key)) continue;
        v = trim(v);
        if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
            v = v.substr(1, v.size() - 2);
        return v.substr(0, kMaxValueLength);
    }
    return defaultValue.substr(0, kMaxValueLength);
}

bool PrivateProfile::writeString(const std::string& section, const std::string& key,
                                 const std::string& value, const std::string& file) {
    if (holdsLineBreak(section) || holdsLineBreak(key) || holdsLineBreak(value)) return false;
    std::string text;
    if (!posix::readWholeFile(file, text) && errno != ENOENT) return false;
    Lines parsed = splitLines(text);
    auto& lines = parsed.lines;
    const std::string entry = key + "=" + value;

    // Find the section, the key inside it, and the last key line of the section.
    std::size_t sectionLine = lines.size(), keyLine = lines.size(), lastKeyLine = lines.size();
    bool inSection = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::string name, k, v;
        if (sectionName(lines[i], name)) {
            if (inSection) break;  // the section ended
            inSection = sameName(name, section);
            if (inSection) sectionLine = lastKeyLine = i;
            continue;
        }
        if (!inSection) continue;
        if (keyValue(lines[i], k, v)) {
            lastKeyLine = i;
            if (sameName(k, key)) {
                keyLine = i;
                break;
            }
        } else if (!trim(lines[i]).empty()) {
            lastKeyLine = i;
        }
    }
    if (keyLine < lines.size()) {
        lines[keyLine] = entry;
    } else if (sectionLine < lines.size()) {
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(lastKeyLine) + 1, entry);
    } else {
        lines.push_back("[" + section + "]");
        lines.push_back(entry);
    }

    std::string out;
    for (const std::string& line : lines) out += line + parsed.lineEnd;
    // The Settings file holds the password: readable by its owner only.
    return posix::writeAtomically(file, out, {.ownerOnly = true, .sync = true}) ==
           posix::WriteResult::Ok;
}

}  // namespace vantorel
