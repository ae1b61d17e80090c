#pragma once

#include <memory>
#include <string>

#include "ConnectionStream.h"

typedef struct ssl_ctx_st SSL_CTX;

namespace vantorel::service {

// The service's TLS side (OpenSSL): one context from a certificate chain and
// its key, and a TLS 1.2 or 1.3 stream for each accepted socket.
class TlsServer {
public:
    // Throws vantorel::Failure naming the file when the certificate or the
    // key cannot be loaded or do not belong together.
    TlsServer(const std::string& certificateFile, const std::string& keyFile);
    ~TlsServer();
    TlsServer(const TlsServer&) = delete;
    TlsServer& operator=(const TlsServer&) = delete;

    // Runs the server side of the handshake within `timeoutMs`; null when it
    // fails or stalls (the reason goes to `reason`). The socket is the
    // caller's to close.
    std::unique_ptr<ConnectionStream> accept(int socket, int timeoutMs, int sendTimeoutMs,
                                             std::string& reason) const;

private:
    SSL_CTX* context_ = nullptr;
};

}  // namespace vantorel::service
