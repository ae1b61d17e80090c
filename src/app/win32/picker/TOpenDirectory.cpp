#include "app/win32/picker/TOpenDirectory.h"

#include "app/win32/picker/TImplOpenDirectory.h"

namespace vantorel {

TOpenDirectory::TOpenDirectory(HWND owner)
    : Impl(std::make_unique<TImplOpenDirectory>(this, owner)) {}

TOpenDirectory::~TOpenDirectory() = default;

int TOpenDirectory::Execute() {
    return Impl->Execute();
}

void TOpenDirectory::setOwnerWindow(HWND owner) {
    Impl->setOwnerWindow(owner);
}

HWND TOpenDirectory::ownerWindow() const {
    return Impl->ownerWindow();
}

void TOpenDirectory::setNetworkNameSource(std::function<NetworkNameLookup()> source) {
    Impl->setNetworkNameSource(std::move(source));
}

}  // namespace vantorel
