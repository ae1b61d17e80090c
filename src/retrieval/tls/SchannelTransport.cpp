// TLS over Schannel, the system's own. As with any TLS here, the library never
// sees a socket: the tokens and records it makes go out through the inner
// Transport and what arrives is handed to it, so time-outs, closes and errors
// stay those of the inner stream. Schannel is asked to leave the server's
// certificate alone; it is checked here after the handshake, before anything
// of the caller's is sent, so that each refusal gets its own words and a CA
// file's roots can be trusted beside the system's.
#ifndef SECURITY_WIN32
#define SECURITY_WIN32
#endif
// The newer credentials form (SCH_CREDENTIALS) is declared only with this.
#ifndef SCHANNEL_USE_BLACKLISTS
#define SCHANNEL_USE_BLACKLISTS
#endif
#include <windows.h>
// clang-format off
#include <subauth.h>
#include <wincrypt.h>
#include <security.h>
#include <schannel.h>
// clang-format on

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

#include "platform/Failure.h"
#include "platform/Socket.h"
#include "retrieval/SocketErrorText.h"
#include "retrieval/TlsTransport.h"

namespace vantorel {
namespace {

constexpr std::size_t kReadChunk = 1 << 16;
// The SSL policy's checks to leave out, as WinINet names them.
constexpr DWORD kIgnoreRevocation = 0x00000080;
constexpr DWORD kIgnoreUnknownCa = 0x00000100;
constexpr DWORD kIgnoreNameInvalid = 0x00001000;
constexpr DWORD kIgnoreDateInvalid = 0x00002000;
constexpr DWORD kContextFlags = ISC_REQ_SEQUENCE_DETECT | ISC_REQ_REPLAY_DETECT |
                                ISC_REQ_CONFIDENTIALITY | ISC_REQ_EXTENDED_ERROR |
                                ISC_REQ_ALLOCATE_MEMORY | ISC_REQ_STREAM |
                                ISC_REQ_MANUAL_CRED_VALIDATION;

// The system's words for a status, without the closing full stop; Wine
// knows no words for most, so the number stands in.
std::string statusText(long status) {
    char* text = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(status), MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US),
        reinterpret_cast<char*>(&text), 0, nullptr);
    std::string words = length > 0 && text != nullptr ? std::string(text, length) : std::string();
    if (text != nullptr) LocalFree(text);
    while (!words.empty() && (words.back() == '\r' || words.back() == '\n' || words.back() == ' ' ||
                              words.back() == '.'))
        words.pop_back();
    if (!words.empty()) return words;
    char number[32];
    std::snprintf(number, sizeof number, "error 0x%08lX", static_cast<unsigned long>(status));
    return number;
}

std::wstring wide(const std::string& text) {
    std::wstring result(text.size(), L'\0');
    const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                           result.data(), static_cast<int>(result.size()));
    result.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
    return result;
}

// Four dotted decimal parts, as an address literal in a URL is written; the
// bytes in network order.
bool ipv4Literal(const std::string& host, unsigned char (&address)[4]) {
    std::size_t at = 0;
    for (int part = 0; part < 4; ++part) {
        if (part > 0 && (at >= host.size() || host[at++] != '.')) return false;
        unsigned value = 0;
        std::size_t digits = 0;
        while (at < host.size() && host[at] >= '0' && host[at] <= '9' && digits < 4) {
            value = value * 10 + static_cast<unsigned>(host[at++] - '0');
            ++digits;
        }
        if (digits == 0 || digits > 3 || value > 255) return false;
        address[part] = static_cast<unsigned char>(value);
    }
    return at == host.size();
}

// An address is matched against the certificate's IP address entries only,
// never its names.
bool certificateNamesAddress(PCCERT_CONTEXT leaf, const unsigned char (&address)[4]) {
    PCERT_EXTENSION extension = CertFindExtension(
        szOID_SUBJECT_ALT_NAME2, leaf->pCertInfo->cExtension, leaf->pCertInfo->rgExtension);
    if (extension == nullptr) return false;
    CERT_ALT_NAME_INFO* names = nullptr;
    DWORD size = 0;
    if (!CryptDecodeObjectEx(X509_ASN_ENCODING, X509_ALTERNATE_NAME, extension->Value.pbData,
                             extension->Value.cbData, CRYPT_DECODE_ALLOC_FLAG, nullptr, &names,
                             &size))
        return false;
    bool found = false;
    for (DWORD i = 0; i < names->cAltEntry && !found; ++i) {
        const CERT_ALT_NAME_ENTRY& entry = names->rgAltEntry[i];
        found = entry.dwAltNameChoice == CERT_ALT_NAME_IP_ADDRESS && entry.IPAddress.cbData == 4 &&
                std::memcmp(entry.IPAddress.pbData, address, 4) == 0;
    }
    LocalFree(names);
    return found;
}

// The certificates of a PEM file in a store of their own.
class CaStore {
public:
    explicit CaStore(const std::string& path) {
        if (path.empty()) return;
        const auto refuse = [&](const std::string& reason) {
            throw Failure("Cannot read the trusted certificates of the CA file " + path + ": " +
                          reason + ".");
        };
        std::ifstream file(path, std::ios::binary);
        if (!file) refuse("it cannot be opened");
        const std::string text((std::istreambuf_iterator<char>(file)),
                               std::istreambuf_iterator<char>());
        store_.reset(
            CertOpenStore(CERT_STORE_PROV_MEMORY, 0, 0, CERT_STORE_CREATE_NEW_FLAG, nullptr));
        if (store_ == nullptr) refuse(statusText(static_cast<long>(GetLastError())));
        static const std::string begin = "-----BEGIN CERTIFICATE-----";
        static const std::string end = "-----END CERTIFICATE-----";
        std::size_t count = 0;
        for (std::size_t at = text.find(begin); at != std::string::npos;
             at = text.find(begin, at + 1)) {
            const std::size_t stop = text.find(end, at);
            if (stop == std::string::npos) refuse("a certificate in it is cut short");
            const std::string block = text.substr(at, stop + end.size() - at);
            DWORD size = 0;
            std::vector<BYTE> der;
            bool read = CryptStringToBinaryA(block.data(), static_cast<DWORD>(block.size()),
                                             CRYPT_STRING_BASE64HEADER, nullptr, &size, nullptr,
                                             nullptr) != 0;
            if (read) {
                der.resize(size);
                read = CryptStringToBinaryA(block.data(), static_cast<DWORD>(block.size()),
                                            CRYPT_STRING_BASE64HEADER, der.data(), &size, nullptr,
                                            nullptr) != 0 &&
                       CertAddEncodedCertificateToStore(store_.get(), X509_ASN_ENCODING, der.data(),
                                                        size, CERT_STORE_ADD_USE_EXISTING,
                                                        nullptr) != 0;
            }
            if (!read) refuse("a certificate in it cannot be read");
            ++count;
        }
        if (count == 0) refuse("it holds no certificate");
    }
    HCERTSTORE handle() const { return store_.get(); }

    bool holds(PCCERT_CONTEXT certificate) const {
        if (store_ == nullptr) return false;
        bool found = false;
        PCCERT_CONTEXT candidate = nullptr;
        while (!found &&
               (candidate = CertEnumCertificatesInStore(store_.get(), candidate)) != nullptr)
            found = candidate->cbCertEncoded == certificate->cbCertEncoded &&
                    std::memcmp(candidate->pbCertEncoded, certificate->pbCertEncoded,
                                certificate->cbCertEncoded) == 0;
        if (candidate != nullptr) CertFreeCertificateContext(candidate);
        return found;
    }

private:
    struct Closer {
        void operator()(void* store) const { CertCloseStore(store, 0); }
    };
    std::unique_ptr<void, Closer> store_;
};

// Checks the server's certificate as OpenSSL does elsewhere: trust first
// (the system's roots or the CA file's), then the host name, then the dates.
// Returns true, or sets `problem` and `detail`.
bool verify(PCCERT_CONTEXT leaf, const std::string& host, const CaStore& roots,
            CertificateProblem& problem, std::string& detail) {
    HCERTSTORE extra = CertOpenStore(CERT_STORE_PROV_COLLECTION, 0, 0, 0, nullptr);
    if (extra == nullptr) {
        problem = CertificateProblem::Other;
        detail = statusText(static_cast<long>(GetLastError()));
        return false;
    }
    // The intermediates the server sent, and the CA file's roots.
    if (leaf->hCertStore != nullptr) CertAddStoreToCollection(extra, leaf->hCertStore, 0, 0);
    if (roots.handle() != nullptr) CertAddStoreToCollection(extra, roots.handle(), 0, 0);

    LPSTR serverUse = const_cast<LPSTR>(szOID_PKIX_KP_SERVER_AUTH);
    CERT_CHAIN_PARA para{};
    para.cbSize = sizeof para;
    para.RequestedUsage.dwType = USAGE_MATCH_TYPE_OR;
    para.RequestedUsage.Usage.cUsageIdentifier = 1;
    para.RequestedUsage.Usage.rgpszUsageIdentifier = &serverUse;
    PCCERT_CHAIN_CONTEXT chain = nullptr;
    const bool built =
        CertGetCertificateChain(nullptr, leaf, nullptr, extra, &para, 0, nullptr, &chain) != 0;
    CertCloseStore(extra, 0);
    if (!built || chain == nullptr || chain->cChain == 0) {
        problem = CertificateProblem::Other;
        detail = statusText(static_cast<long>(GetLastError()));
        if (chain != nullptr) CertFreeCertificateChain(chain);
        return false;
    }
    const CERT_SIMPLE_CHAIN& simple = *chain->rgpChain[0];
    const CERT_CHAIN_ELEMENT& top = *simple.rgpElement[simple.cElement - 1];
    DWORD errors = chain->TrustStatus.dwErrorStatus;
    const auto refuse = [&](CertificateProblem found, std::string words = {}) {
        problem = found;
        detail = std::move(words);
        CertFreeCertificateChain(chain);
        return false;
    };

    // Trust.
    if (errors & CERT_TRUST_IS_UNTRUSTED_ROOT) {
        if (!(errors & CERT_TRUST_IS_PARTIAL_CHAIN) && roots.holds(top.pCertContext)) {
            errors &= ~static_cast<DWORD>(CERT_TRUST_IS_UNTRUSTED_ROOT);
        } else {
            const bool selfIssued =
                simple.cElement == 1 &&
                CertCompareCertificateName(X509_ASN_ENCODING, &leaf->pCertInfo->Subject,
                                           &leaf->pCertInfo->Issuer);
            return refuse(selfIssued ? CertificateProblem::SelfSigned
                                     : CertificateProblem::UnknownIssuer);
        }
    }
    if (errors & CERT_TRUST_IS_PARTIAL_CHAIN) return refuse(CertificateProblem::UnknownIssuer);
    // Revocation is not asked for; what it would say is no refusal.
    const DWORD unasked = CERT_TRUST_IS_NOT_TIME_VALID | CERT_TRUST_IS_NOT_TIME_NESTED |
                          CERT_TRUST_REVOCATION_STATUS_UNKNOWN | CERT_TRUST_IS_OFFLINE_REVOCATION;
    if (errors & ~unasked) {
        if (errors & CERT_TRUST_IS_NOT_SIGNATURE_VALID)
            return refuse(CertificateProblem::Other, "its signature is not valid");
        if (errors & CERT_TRUST_IS_NOT_VALID_FOR_USAGE)
            return refuse(CertificateProblem::Other, "it is not meant for a server");
        if (errors & CERT_TRUST_IS_REVOKED)
            return refuse(CertificateProblem::Other, "it has been revoked");
        return refuse(CertificateProblem::Other);
    }

    // The host name, by the system's rules; an address by its address entries.
    unsigned char address[4];
    const bool literal = ipv4Literal(host, address);
    std::wstring name = wide(host);
    SSL_EXTRA_CERT_CHAIN_POLICY_PARA ssl{};
    ssl.cbSize = sizeof ssl;
    ssl.dwAuthType = AUTHTYPE_SERVER;
    ssl.fdwChecks = kIgnoreUnknownCa | kIgnoreDateInvalid | kIgnoreRevocation |
                    (literal ? kIgnoreNameInvalid : 0);
    ssl.pwszServerName = name.data();
    CERT_CHAIN_POLICY_PARA policy{};
    policy.cbSize = sizeof policy;
    policy.dwFlags = CERT_CHAIN_POLICY_ALLOW_UNKNOWN_CA_FLAG |
                     CERT_CHAIN_POLICY_IGNORE_ALL_NOT_TIME_VALID_FLAGS |
                     CERT_CHAIN_POLICY_IGNORE_ALL_REV_UNKNOWN_FLAGS;
    policy.pvExtraPolicyPara = &ssl;
    CERT_CHAIN_POLICY_STATUS status{};
    status.cbSize = sizeof status;
    if (!CertVerifyCertificateChainPolicy(CERT_CHAIN_POLICY_SSL, chain, &policy, &status))
        return refuse(CertificateProblem::Other, statusText(static_cast<long>(GetLastError())));
    if (status.dwError == static_cast<DWORD>(CERT_E_CN_NO_MATCH) ||
        (literal && !certificateNamesAddress(leaf, address)))
        return refuse(CertificateProblem::HostMismatch);
    if (status.dwError != 0)
        return refuse(CertificateProblem::Other, statusText(static_cast<long>(status.dwError)));

    // The dates of the first certificate of the chain that is out of them.
    if (errors & CERT_TRUST_IS_NOT_TIME_VALID) {
        for (DWORD i = 0; i < simple.cElement; ++i) {
            const LONG when =
                CertVerifyTimeValidity(nullptr, simple.rgpElement[i]->pCertContext->pCertInfo);
            if (when < 0) return refuse(CertificateProblem::NotYetValid);
            if (when > 0) return refuse(CertificateProblem::Expired);
        }
        return refuse(CertificateProblem::Expired);
    }
    CertFreeCertificateChain(chain);
    return true;
}

// Bytes received and not yet decrypted, at the front of a buffer that grows
// to the largest need once and is not cleared for every read.
class Backlog {
public:
    char* data() { return buffer_.data(); }
    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    char operator[](std::size_t at) const { return buffer_[at]; }
    void clear() { size_ = 0; }
    char* room(std::size_t wanted) {
        if (buffer_.size() < size_ + wanted) buffer_.resize(size_ + wanted);
        return buffer_.data() + size_;
    }
    void grow(std::size_t added) { size_ += added; }
    void keepLast(std::size_t count) {
        std::memmove(buffer_.data(), buffer_.data() + size_ - count, count);
        size_ = count;
    }

private:
    std::vector<char> buffer_;
    std::size_t size_ = 0;
};

class SchannelTransport final : public TlsTransport {
public:
    SchannelTransport(std::unique_ptr<Transport> inner, std::string caFile)
        : inner_(std::move(inner)), caFile_(std::move(caFile)) {}
    ~SchannelTransport() override { close(); }
    SchannelTransport(const SchannelTransport&) = delete;
    SchannelTransport& operator=(const SchannelTransport&) = delete;

    void connect(const std::string& host, std::uint16_t port, int connectTimeout) override {
        release();
        inner_->connect(host, port, connectTimeout);
    }

    void handshake(const std::string& host, int readTimeout) override {
        release();
        const CaStore roots(caFile_);
        acquireCredentials();
        const std::wstring target = wide(host);
        const int wait = readTimeout == 0 ? -1 : std::max(readTimeout, 0);
        bool first = true;
        bool needInput = false;
        for (;;) {
            if (needInput) {
                const ReceiveResult got = fill(wait);
                switch (got.status) {
                    case ReceiveResult::Status::Data:
                        break;
                    case ReceiveResult::Status::TimedOut:
                        throw Failure("Read Timeout");
                    case ReceiveResult::Status::Closed:
                        throw Failure("Connection Closed Gracefully.");
                    case ReceiveResult::Status::Failed:
                        throw Failure(socketErrorMessage(got.error));
                }
            }
            SecBuffer input[2] = {
                {static_cast<unsigned long>(encrypted_.size()), SECBUFFER_TOKEN, encrypted_.data()},
                {0, SECBUFFER_EMPTY, nullptr}};
            SecBufferDesc inputs{SECBUFFER_VERSION, 2, input};
            SecBuffer output[1] = {{0, SECBUFFER_TOKEN, nullptr}};
            SecBufferDesc outputs{SECBUFFER_VERSION, 1, output};
            unsigned long attributes = 0;
            const SECURITY_STATUS status = InitializeSecurityContextW(
                &credentials_, first ? nullptr : &context_, const_cast<SEC_WCHAR*>(target.c_str()),
                kContextFlags, 0, 0, first ? nullptr : &inputs, 0, first ? &context_ : nullptr,
                &outputs, &attributes, nullptr);
            if (first && (status == SEC_E_OK || status == SEC_I_CONTINUE_NEEDED)) {
                first = false;
                haveContext_ = true;
            }
            if (status == SEC_E_INCOMPLETE_MESSAGE) {
                needInput = true;
                continue;
            }
            // A token goes out even with a failure: it may be our alert.
            if (output[0].pvBuffer != nullptr) {
                pending_.append(static_cast<const char*>(output[0].pvBuffer), output[0].cbBuffer);
                FreeContextBuffer(output[0].pvBuffer);
            }
            if (status != SEC_E_OK && status != SEC_I_CONTINUE_NEEDED &&
                status != SEC_I_INCOMPLETE_CREDENTIALS) {
                failed_ = true;
                flush();  // our alert, when the peer is still there to read it
                throw Failure("The TLS handshake with " + host + " failed: " + statusText(status) +
                              ".");
            }
            if (status == SEC_I_INCOMPLETE_CREDENTIALS) {
                // The server asks for a certificate of ours; there is none to give.
                needInput = false;
                continue;
            }
            keepExtra(input[1]);
            // Our last flight (TLS 1.3's Finished) stays to leave with the
            // request in one write: sent alone, it would hold the request back
            // until the server acknowledged it, some 40 ms of delayed ACK.
            if (status == SEC_E_OK) break;
            if (const int sendError = flush(); sendError != 0)
                throw Failure(socketErrorMessage(sendError));
            needInput = encrypted_.empty();
        }

        // Whatever the credentials said, nothing older than TLS 1.2 is used.
        SecPkgContext_ConnectionInfo connection{};
        if (QueryContextAttributesW(&context_, SECPKG_ATTR_CONNECTION_INFO, &connection) ==
                SEC_E_OK &&
            (connection.dwProtocol & (SP_PROT_SSL2_CLIENT | SP_PROT_SSL3_CLIENT |
                                      SP_PROT_TLS1_0_CLIENT | SP_PROT_TLS1_1_CLIENT))) {
            failed_ = true;
            pending_.clear();
            throw Failure("The TLS handshake with " + host +
                          " failed: the server offers no TLS newer than 1.1.");
        }
        PCCERT_CONTEXT leaf = nullptr;
        if (QueryContextAttributesW(&context_, SECPKG_ATTR_REMOTE_CERT_CONTEXT, &leaf) !=
                SEC_E_OK ||
            leaf == nullptr) {
            failed_ = true;
            throw Failure(certificateFailureText(host, CertificateProblem::Other,
                                                 "the server sent no certificate"));
        }
        CertificateProblem problem = CertificateProblem::Other;
        std::string detail;
        const bool trusted = verify(leaf, host, roots, problem, detail);
        CertFreeCertificateContext(leaf);
        if (!trusted) {
            failed_ = true;  // nothing more goes out, not even our Finished
            pending_.clear();
            throw Failure(certificateFailureText(host, problem, detail));
        }
        if (QueryContextAttributesW(&context_, SECPKG_ATTR_STREAM_SIZES, &sizes_) != SEC_E_OK) {
            failed_ = true;
            throw Failure("The TLS handshake with " + host + " failed: no record sizes.");
        }
        ready_ = true;
    }

    ReceiveResult receive(char* data, std::size_t capacity, int milliseconds) override {
        if (!ready_) return ReceiveResult::failed(kSocketNotSocket);
        if (const int sendError = flush(); sendError != 0) return ReceiveResult::failed(sendError);
        std::size_t total = 0;
        for (;;) {
            const std::size_t taken = std::min(capacity - total, plain_.size() - plainAt_);
            std::memcpy(data + total, plain_.data() + plainAt_, taken);
            total += taken;
            plainAt_ += taken;
            if (total == capacity) break;
            if (peerClosed_) break;
            // Whole records already here are decrypted in the same call.
            std::size_t direct = 0;
            if (!encrypted_.empty() && decryptRecord(data + total, capacity - total, direct)) {
                total += direct;
                continue;
            }
            if (total > 0 || peerClosed_) break;
            const ReceiveResult more = fill(milliseconds);
            // A close without close_notify is the plain close it replaces: a
            // body cut short shows as such to the reader above.
            if (more.status != ReceiveResult::Status::Data) return more;
        }
        ReceiveResult result;
        if (total == 0 && peerClosed_) {
            result.status = ReceiveResult::Status::Closed;
            return result;
        }
        result.status = ReceiveResult::Status::Data;
        result.size = total;
        return result;
    }

    int send(const char* data, std::size_t size, std::size_t& sent) override {
        sent = 0;
        if (!ready_) return kSocketNotSocket;
        std::vector<char> record(sizes_.cbHeader + sizes_.cbMaximumMessage + sizes_.cbTrailer);
        while (sent < size) {
            const std::size_t piece = std::min<std::size_t>(size - sent, sizes_.cbMaximumMessage);
            std::memcpy(record.data() + sizes_.cbHeader, data + sent, piece);
            SecBuffer buffers[4] = {{sizes_.cbHeader, SECBUFFER_STREAM_HEADER, record.data()},
                                    {static_cast<unsigned long>(piece), SECBUFFER_DATA,
                                     record.data() + sizes_.cbHeader},
                                    {sizes_.cbTrailer, SECBUFFER_STREAM_TRAILER,
                                     record.data() + sizes_.cbHeader + piece},
                                    {0, SECBUFFER_EMPTY, nullptr}};
            SecBufferDesc message{SECBUFFER_VERSION, 4, buffers};
            const SECURITY_STATUS status = EncryptMessage(&context_, 0, &message, 0);
            if (status != SEC_E_OK) {
                failed_ = true;
                throw Failure("The TLS connection failed: " + statusText(status) + ".");
            }
            // The trailer may be shorter than its room: the parts are joined.
            pending_.append(record.data(), buffers[0].cbBuffer + buffers[1].cbBuffer);
            pending_.append(static_cast<const char*>(buffers[2].pvBuffer), buffers[2].cbBuffer);
            sent += piece;
            if (pending_.size() >= kReadChunk)
                if (const int error = flush(); error != 0) return error;
        }
        return flush();
    }

    void close() override {
        if (ready_ && !failed_) {
            // Our close_notify; the peer's is not awaited.
            DWORD type = SCHANNEL_SHUTDOWN;
            SecBuffer control{sizeof type, SECBUFFER_TOKEN, &type};
            SecBufferDesc controls{SECBUFFER_VERSION, 1, &control};
            if (ApplyControlToken(&context_, &controls) == SEC_E_OK) {
                SecBuffer output{0, SECBUFFER_TOKEN, nullptr};
                SecBufferDesc outputs{SECBUFFER_VERSION, 1, &output};
                unsigned long attributes = 0;
                InitializeSecurityContextW(&credentials_, &context_, nullptr, kContextFlags, 0, 0,
                                           nullptr, 0, nullptr, &outputs, &attributes, nullptr);
                if (output.pvBuffer != nullptr) {
                    pending_.append(static_cast<const char*>(output.pvBuffer), output.cbBuffer);
                    FreeContextBuffer(output.pvBuffer);
                }
            }
            flush();
        }
        release();
        inner_->close();
    }

private:
    // TLS 1.2 and 1.3 where the system has 1.3. Windows offers 1.3 only
    // through the newer form of credentials, older systems know only the
    // older form; Wine takes the newer form but ignores its protocol choice
    // (it would offer 1.0 and not 1.3), so there the older form comes first.
    void acquireCredentials() {
        TLS_PARAMETERS parameters{};
        parameters.grbitDisabledProtocols = SP_PROT_SSL2_CLIENT | SP_PROT_SSL3_CLIENT |
                                            SP_PROT_TLS1_0_CLIENT | SP_PROT_TLS1_1_CLIENT;
        SCH_CREDENTIALS modern{};
        modern.dwVersion = SCH_CREDENTIALS_VERSION;
        modern.dwFlags = SCH_CRED_MANUAL_CRED_VALIDATION | SCH_CRED_NO_DEFAULT_CREDS;
        modern.cTlsParameters = 1;
        modern.pTlsParameters = &parameters;
        const auto older = [this](DWORD protocols) {
            SCHANNEL_CRED credentials{};
            credentials.dwVersion = SCHANNEL_CRED_VERSION;
            credentials.grbitEnabledProtocols = protocols;
            credentials.dwFlags = SCH_CRED_MANUAL_CRED_VALIDATION | SCH_CRED_NO_DEFAULT_CREDS;
            return acquire(&credentials);
        };
        const DWORD both = SP_PROT_TLS1_2_CLIENT | SP_PROT_TLS1_3_CLIENT;
        SECURITY_STATUS status = underWine() ? older(both) : acquire(&modern);
        if (status != SEC_E_OK) status = older(both);
        if (status != SEC_E_OK) status = older(SP_PROT_TLS1_2_CLIENT);
        if (status != SEC_E_OK) throw Failure("Cannot set up TLS: " + statusText(status) + ".");
        haveCredentials_ = true;
    }

    static bool underWine() {
        const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
        return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
    }

    SECURITY_STATUS acquire(void* data) {
        TimeStamp expiry{};
        return AcquireCredentialsHandleW(nullptr, const_cast<SEC_WCHAR*>(UNISP_NAME_W),
                                         SECPKG_CRED_OUTBOUND, nullptr, data, nullptr, nullptr,
                                         &credentials_, &expiry);
    }

    void release() {
        if (haveContext_) DeleteSecurityContext(&context_);
        if (haveCredentials_) FreeCredentialsHandle(&credentials_);
        haveContext_ = false;
        haveCredentials_ = false;
        ready_ = false;
        failed_ = false;
        peerClosed_ = false;
        encrypted_.clear();
        plain_.clear();
        plainAt_ = 0;
        pending_.clear();
    }

    // What the library left unread stays for the next call.
    void keepExtra(const SecBuffer& extra) {
        if (extra.BufferType == SECBUFFER_EXTRA && extra.cbBuffer > 0 &&
            extra.cbBuffer <= encrypted_.size())
            encrypted_.keepLast(extra.cbBuffer);
        else
            encrypted_.clear();
    }

    // Decrypts the first record of `encrypted_`: as much as fits into `out`
    // (`written` tells how much), the rest into `plain_`, which the caller has
    // emptied. False when the record is not all here yet.
    bool decryptRecord(char* out, std::size_t room, std::size_t& written) {
        if (plainAt_ == plain_.size()) {
            plain_.clear();
            plainAt_ = 0;
        }
        // Wine hands back the peer's close_notify as an empty record, not as
        // the end of the context; it is the only alert that decrypts without
        // an error, so an alert record that gives no data is that close.
        const bool alert = encrypted_[0] == 0x15;
        SecBuffer buffers[4] = {
            {static_cast<unsigned long>(encrypted_.size()), SECBUFFER_DATA, encrypted_.data()},
            {0, SECBUFFER_EMPTY, nullptr},
            {0, SECBUFFER_EMPTY, nullptr},
            {0, SECBUFFER_EMPTY, nullptr}};
        SecBufferDesc message{SECBUFFER_VERSION, 4, buffers};
        const SECURITY_STATUS status = DecryptMessage(&context_, &message, 0, nullptr);
        if (status == SEC_E_INCOMPLETE_MESSAGE) return false;
        if (status != SEC_E_OK && status != SEC_I_CONTEXT_EXPIRED && status != SEC_I_RENEGOTIATE) {
            failed_ = true;
            throw Failure("The TLS connection failed: " + statusText(status) + ".");
        }
        const SecBuffer* extra = nullptr;
        bool data = false;
        for (const SecBuffer& buffer : buffers) {
            if (buffer.BufferType == SECBUFFER_DATA && buffer.cbBuffer > 0) {
                const char* plain = static_cast<const char*>(buffer.pvBuffer);
                written = std::min<std::size_t>(room, buffer.cbBuffer);
                std::memcpy(out, plain, written);
                plain_.append(plain + written, buffer.cbBuffer - written);
                data = true;
            }
            if (buffer.BufferType == SECBUFFER_EXTRA && buffer.cbBuffer > 0) extra = &buffer;
        }
        if (extra != nullptr)
            keepExtra(*extra);
        else
            encrypted_.clear();
        if (status == SEC_I_CONTEXT_EXPIRED || (alert && !data))
            peerClosed_ = true;  // the peer's close_notify
        if (status == SEC_I_RENEGOTIATE) afterHandshake();
        return true;
    }

    // TLS 1.3 sends handshake messages after the handshake (tickets, key
    // updates); Schannel takes them through the handshake call.
    void afterHandshake() {
        SecBuffer input[2] = {{static_cast<unsigned long>(encrypted_.size()), SECBUFFER_TOKEN,
                               encrypted_.empty() ? nullptr : encrypted_.data()},
                              {0, SECBUFFER_EMPTY, nullptr}};
        SecBufferDesc inputs{SECBUFFER_VERSION, 2, input};
        SecBuffer output[1] = {{0, SECBUFFER_TOKEN, nullptr}};
        SecBufferDesc outputs{SECBUFFER_VERSION, 1, output};
        unsigned long attributes = 0;
        const SECURITY_STATUS status =
            InitializeSecurityContextW(&credentials_, &context_, nullptr, kContextFlags, 0, 0,
                                       &inputs, 0, nullptr, &outputs, &attributes, nullptr);
        if (output[0].pvBuffer != nullptr) {
            pending_.append(static_cast<const char*>(output[0].pvBuffer), output[0].cbBuffer);
            FreeContextBuffer(output[0].pvBuffer);
        }
        if (status != SEC_E_OK && status != SEC_I_CONTINUE_NEEDED &&
            status != SEC_E_INCOMPLETE_MESSAGE) {
            failed_ = true;
            throw Failure("The TLS connection failed: " + statusText(status) + ".");
        }
        if (status != SEC_E_INCOMPLETE_MESSAGE) keepExtra(input[1]);
    }

    // Sends what waits to go out; 0 or a socket error.
    int flush() {
        std::size_t done = 0;
        while (done < pending_.size()) {
            std::size_t sent = 0;
            const int error = inner_->send(pending_.data() + done, pending_.size() - done, sent);
            if (error != 0) return error;
            if (sent == 0) return kSocketShutDown;
            done += sent;
        }
        pending_.clear();
        return 0;
    }

    // One receive from the inner stream onto the bytes not yet decrypted.
    ReceiveResult fill(int milliseconds) {
        const ReceiveResult got =
            inner_->receive(encrypted_.room(kReadChunk), kReadChunk, milliseconds);
        if (got.status == ReceiveResult::Status::Data) encrypted_.grow(got.size);
        return got;
    }

    std::unique_ptr<Transport> inner_;
    std::string caFile_;
    CredHandle credentials_{};
    CtxtHandle context_{};
    SecPkgContext_StreamSizes sizes_{};
    bool haveCredentials_ = false;
    bool haveContext_ = false;
    bool ready_ = false;
    bool failed_ = false;
    bool peerClosed_ = false;
    Backlog encrypted_;
    std::string plain_;  // decrypted, not yet taken
    std::size_t plainAt_ = 0;
    std::string pending_;  // made, not yet sent
};

}  // namespace

std::unique_ptr<TlsTransport> makeTlsTransport(std::unique_ptr<Transport> inner,
                                               const std::string& caFile) {
    return std::make_unique<SchannelTransport>(std::move(inner), caFile);
}

}  // namespace vantorel
