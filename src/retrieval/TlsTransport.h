#pragma once

#include <memory>
#include <string>

#include "retrieval/Transport.h"

namespace vantorel {

// Why a server's certificate was refused; each has its own words for the user.
enum class CertificateProblem { Expired, NotYetValid, HostMismatch, UnknownIssuer, SelfSigned, Other };

// The message of a refused certificate: names the host and the reason in
// words. `detail` is the TLS library's own text, used only for Other.
std::string certificateFailureText(const std::string& host, CertificateProblem problem,
                                   const std::string& detail = {});

// A TLS session over another, not yet connected, Transport. connect() only
// connects the inner stream; handshake() is a stage of its own, and nothing
// of the caller's is sent before it has succeeded. After it, receive() gives
// decrypted bytes (a close without close_notify counts as the peer's close)
// and send() encrypts; a broken session (a bad record, say) makes either
// throw Failure with the library's reason. close() sends close_notify when
// it can and never throws.
class TlsTransport : public Transport {
public:
    // Sends the server name (SNI), verifies the chain against the system's
    // trust store plus the roots of the CA file, and checks the host name.
    // Each wait for the server lasts at most `readTimeout` ms (0: without
    // limit); a stall throws Failure("Read Timeout"). A refused certificate
    // throws Failure(certificateFailureText(...)); other failures throw
    // Failure with the library's reason.
    virtual void handshake(const std::string& host, int readTimeout) = 0;
};

// The platform's TLS (OpenSSL on POSIX, Schannel on Windows) over `inner`.
// `caFile` names a PEM file of extra trusted roots; empty: the system's only.
// Null where no TLS exists: https then fails with "Transport value is not valid".
std::unique_ptr<TlsTransport> makeTlsTransport(std::unique_ptr<Transport> inner,
                                               const std::string& caFile);

}  // namespace vantorel
