#include "retrieval/TlsTransport.h"

namespace vantorel {

std::string certificateFailureText(const std::string& host, CertificateProblem problem,
                                   const std::string& detail) {
    std::string reason;
    switch (problem) {
        case CertificateProblem::Expired:
            reason = "it has expired";
            break;
        case CertificateProblem::NotYetValid:
            reason = "it is not yet valid";
            break;
        case CertificateProblem::HostMismatch:
            reason = "host name mismatch (it was issued for another name)";
            break;
        case CertificateProblem::UnknownIssuer:
            reason =
                "unknown issuer (no trusted authority signed it; a company's own CA can be "
                "named in CAFile)";
            break;
        case CertificateProblem::SelfSigned:
            reason = "it is self-signed and not trusted";
            break;
        case CertificateProblem::Other:
            reason = detail.empty() ? "it could not be verified" : detail;
            break;
    }
    return "The certificate of " + host + " is refused: " + reason + ".";
}

}  // namespace vantorel
