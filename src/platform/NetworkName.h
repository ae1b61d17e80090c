#pragma once

#include <functional>
#include <string>

namespace vantorel {

// Gives the network form of a full path. On POSIX that is "//server/share"
// plus the rest for a folder on a network mount and empty for any other; on
// Windows it is "\\server\share" plus the rest for a folder on a connected
// network drive and the path unchanged for any other.
using NetworkNameLookup = std::function<std::string(const std::string& fullPath)>;

// The system's lookup as it stands now. Shares come and go, so callers take a
// fresh one for each piece of work rather than keeping one.
NetworkNameLookup systemNetworkNames();

}  // namespace vantorel
