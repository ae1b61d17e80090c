#pragma once

#include <string>

#include <vector>
#include "platform/NetworkName.h"

namespace vantorel {

// The mounts of the process as /proc/self/mountinfo lists them, reduced to what
// the folder picker needs: where a folder lives on a network share.
class MountTable {
public:
    struct Mount {
        std::string mountPoint;   // absolute, no trailing separator except for "/"
        std::string networkName;  // "//server/share[/root]" for a network mount, else empty
    };

    MountTable() = default;

    // Parses mountinfo text. Malformed or overlong lines are skipped; later
    // lines win over earlier ones for the same mount point (they sit on top).
    static MountTable parse(const std::string& mountInfo);

    // The table of this process; empty when /proc/self/mountinfo cannot be read.
    static MountTable readSystem();

    // The network form of a full path: the share's name followed by the rest of
    // the path below the mount point, or empty when the folder is not on a
    // network mount.
    std::string networkName(const std::string& fullPath) const;

    // networkName() of a copy of this table, as a lookup.
    NetworkNameLookup lookup() const;

    const std::vector<Mount>& mounts() const { return mounts_; }

private:
    std::vector<Mount> mounts_;
};

}  // namespace vantorel
