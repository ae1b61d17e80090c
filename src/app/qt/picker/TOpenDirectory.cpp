#include "app/qt/picker/TOpenDirectory.h"

#include "app/qt/picker/TImplOpenDirectory.h"

namespace vantorel {

TOpenDirectory::TOpenDirectory(QObject* owner)
    : QObject(owner), Impl(std::make_unique<TImplOpenDirectory>(this)) {}

TOpenDirectory::~TOpenDirectory() = default;

int TOpenDirectory::Execute() {
    return Impl->Execute();
}

void TOpenDirectory::setNetworkNameSource(std::function<NetworkNameLookup()> source) {
    Impl->setNetworkNameSource(std::move(source));
}

}  // namespace vantorel
