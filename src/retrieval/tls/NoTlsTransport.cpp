// A platform without TLS: https addresses fail with "Transport value is not valid".
#include "retrieval/TlsTransport.h"

namespace vantorel {

std::unique_ptr<TlsTransport> makeTlsTransport(std::unique_ptr<Transport>, const std::string&) {
    return nullptr;
}

}  // namespace vantorel
