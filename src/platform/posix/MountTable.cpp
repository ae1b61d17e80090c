#include "platform/posix/MountTable.h"

#include <array>
#include <fstream>
#include <string_view>

namespace vantorel {
namespace {

// Containers can list thousands of mounts; anything past these sizes is not a
// mount table we trust.
constexpr std::size_t kMaxMountInfoBytes = 8 * 1024 * 1024;
constexpr std::size_t kMaxLineBytes = 16 * 1024;
constexpr std::size_t kMaxFields = 64;

constexpr std::array<std::string_view, 4> kNetworkTypes = {"cifs", "smb3", "nfs", "nfs4"};

// Mount points and sources escape blanks, tabs, line feeds and backslashes as \ooo.
std::string unescape(std::string_view field) {
    std::string out;
    out.reserve(field.size());
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            const char a = field[i + 1], b = field[i + 2], c = field[i + 3];
            if (a >= '0' && a <= '3' && b >= '0' && b <= '7' && c >= '0' && c <= '7') {
                out += static_cast<char>((a - '0') * 64 + (b - '0') * 8 + (c - '0'));
                i += 3;
                continue;
            }
        }
        out += field[i];
    }
    return out;
}

std::vector<std::string_view> splitFields(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    while (start < line.size() && fields.size() <= kMaxFields) {
        std::size_t end = line.find(' ', start);
        if (end == std::string_view::npos) end = line.size();
        if (end > start) fields.push_back(line.substr(start, end - start));
        start = end + 1;
    }
    return fields;
}

void dropTrailingSeparators(std::string& path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
}

// "//server/share" for SMB, "server:/export" for NFS; empty when the source
// names no server.
std::string shareName(std::string_view type, std::string source) {
    if (type == "cifs" || type == "smb3") {
        for (char& c : source)
            if (c == '\\') c = '/';
        if (source.size() < 3 || source.compare(0, 2, "//") != 0 || source[2] == '/') return {};
        dropTrailingSeparators(source);
        return source;
    }
    const std::size_t colon = source.find(":/");
    if (colon == std::string::npos || colon == 0) return {};
    std::string exportPath = source.substr(colon + 1);
    dropTrailingSeparators(exportPath);
    return "//" + source.substr(0, colon) + (exportPath == "/" ? "" : exportPath);
}

bool isNetworkType(std::string_view type) {
    for (std::string_view t : kNetworkTypes)
        if (t == type) return true;
    return false;
}

}  // namespace

MountTable MountTable::parse(const std::string& mountInfo) {
    MountTable table;
    std::string_view text(mountInfo);
    if (text.size() > kMaxMountInfoBytes) text = text.substr(0, kMaxMountInfoBytes);
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        if (line.size() > kMaxLineBytes) continue;

        // id parent major:minor root mount-point options [optional...] - type source super
        const std::vector<std::string_view> fields = splitFields(line);
        if (fields.size() > kMaxFields) continue;
        std::size_t dash = 6;
        while (dash < fields.size() && fields[dash] != "-") ++dash;
        if (dash + 2 >= fields.size()) continue;

        Mount mount;
        mount.mountPoint = unescape(fields[4]);
        if (mount.mountPoint.empty() || mount.mountPoint.front() != '/') continue;
        dropTrailingSeparators(mount.mountPoint);
        const std::string_view type = fields[dash + 1];
        if (isNetworkType(type)) {
            std::string share = shareName(type, unescape(fields[dash + 2]));
            if (!share.empty()) {
                // A bind mount of a folder inside the share names that folder as its root.
                std::string root = unescape(fields[3]);
                dropTrailingSeparators(root);
                if (root.size() > 1 && root.front() == '/') share += root;
                mount.networkName = share;
            }
        }
        table.mounts_.push_back(std::move(mount));
    }
    return table;
}

MountTable MountTable::readSystem() {
    std::ifstream in("/proc/self/mountinfo", std::ios::binary);
    if (!in) return {};
    std::string text;
    std::array<char, 16384> chunk;
    while (text.size() < kMaxMountInfoBytes && in.read(chunk.data(), chunk.size()).gcount() > 0)
        text.append(chunk.data(), static_cast<std::size_t>(in.gcount()));
    return parse(text);
}

std::string MountTable::networkName(const std::string& fullPath) const {
    if (fullPath.empty() || fullPath.front() != '/') return {};
    const Mount* best = nullptr;
    for (const Mount& m : mounts_) {
        const std::string& mp = m.mountPoint;
        const bool under = mp == "/" || fullPath == mp ||
                           (fullPath.size() > mp.size() &&
                            fullPath.compare(0, mp.size(), mp) == 0 && fullPath[mp.size()] == '/');
        // The deepest mount point holds the folder; of equal ones the last is on top.
        if (under && (!best || mp.size() >= best->mountPoint.size())) best = &m;
    }
    if (!best || best->networkName.empty()) return {};
    std::string rest =
        best->mountPoint == "/" ? fullPath : fullPath.substr(best->mountPoint.size());
    if (rest == "/") rest.clear();
    return best->networkName + rest;
}

NetworkNameLookup MountTable::lookup() const {
    return [table = *this](const std::string& fullPath) { return table.networkName(fullPath); };
}

}  // namespace vantorel
