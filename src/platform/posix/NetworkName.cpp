#include "platform/NetworkName.h"

#include "platform/posix/MountTable.h"

namespace vantorel {

NetworkNameLookup systemNetworkNames() {
    return MountTable::readSystem().lookup();
}

}  // namespace vantorel
