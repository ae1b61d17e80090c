#include "platform/NetworkName.h"

#include "platform/MountTable.h"

namespace vantorel {

NetworkNameLookup systemNetworkNames() {
    return MountTable::readSystem().lookup();
}

}  // namespace vantorel
