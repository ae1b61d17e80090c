// TLS over OpenSSL 3. The library never sees a socket: it talks through a
// BIO pair whose far end this class feeds from, and drains into, the inner
// Transport, so time-outs, closes and errors stay those of the inner stream
// and tests can script the bytes on the wire.
#include <arpa/inet.h>
#include <openssl/err.h>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <vector>

#include "platform/Failure.h"
#include "platform/Socket.h"
#include "retrieval/SocketErrorText.h"
#include "retrieval/TlsTransport.h"

namespace vantorel {
namespace {

constexpr std::size_t kPairBuffer = 1 << 16;

// The library's words for the most recent failure, and its queue cleared.
std::string libraryReason() {
    const unsigned long code = ERR_peek_last_error();
    ERR_clear_error();
    const char* reason = code != 0 ? ERR_reason_error_string(code) : nullptr;
    return reason != nullptr ? reason : "no reason given";
}

CertificateProblem problemOf(long verifyResult) {
    switch (verifyResult) {
        case X509_V_ERR_CERT_HAS_EXPIRED:
            return CertificateProblem::Expired;
        case X509_V_ERR_CERT_NOT_YET_VALID:
            return CertificateProblem::NotYetValid;
        case X509_V_ERR_HOSTNAME_MISMATCH:
        case X509_V_ERR_IP_ADDRESS_MISMATCH:
            return CertificateProblem::HostMismatch;
        case X509_V_ERR_DEPTH_ZERO_SELF_SIGNED_CERT:
        case X509_V_ERR_SELF_SIGNED_CERT_IN_CHAIN:
            return CertificateProblem::SelfSigned;
        case X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT:
        case X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT_LOCALLY:
        case X509_V_ERR_UNABLE_TO_VERIFY_LEAF_SIGNATURE:
        case X509_V_ERR_CERT_UNTRUSTED:
            return CertificateProblem::UnknownIssuer;
        default:
            return CertificateProblem::Other;
    }
}

bool isAddressLiteral(const std::string& host) {
    unsigned char address[16];
    return ::inet_pton(AF_INET, host.c_str(), address) == 1 ||
           ::inet_pton(AF_INET6, host.c_str(), address) == 1;
}

// Loading the system's roots costs milliseconds, so one context serves every
// connection while the CA file stays the same file, unchanged.
// The system's trust store. Its hashed folder is read a certificate at a time
// as a chain needs one, while its bundle file would be parsed whole (some
// 40 ms for a full bundle) before the first handshake; so the bundle is taken
// only when it is asked for by name or no hashed folder exists.
void trustSystemRoots(SSL_CTX* context) {
    const char* folder = std::getenv(X509_get_default_cert_dir_env());
    if (folder == nullptr) folder = X509_get_default_cert_dir();
    std::error_code ignored;
    const bool hashed = std::getenv(X509_get_default_cert_file_env()) == nullptr &&
                        std::filesystem::is_directory(folder, ignored) &&
                        !std::filesystem::is_empty(folder, ignored);
    if (hashed)
        SSL_CTX_set_default_verify_dir(context);
    else
        SSL_CTX_set_default_verify_paths(context);
}

class ContextCache {
public:
    // A reference the caller frees with SSL_CTX_free.
    SSL_CTX* get(const std::string& caFile) {
        std::error_code ignored;
        const auto stamp = caFile.empty() ? std::filesystem::file_time_type{}
                                          : std::filesystem::last_write_time(caFile, ignored);
        std::lock_guard lock(mutex_);
        if (context_ == nullptr || caFile != caFile_ || stamp != stamp_) {
            SSL_CTX* fresh = make(caFile);
            SSL_CTX_free(context_);
            context_ = fresh;
            caFile_ = caFile;
            stamp_ = stamp;
        }
        SSL_CTX_up_ref(context_);
        return context_;
    }

private:
    static SSL_CTX* make(const std::string& caFile) {
        SSL_CTX* context = SSL_CTX_new(TLS_client_method());
        if (context == nullptr) throw Failure("Cannot set up TLS: " + libraryReason() + ".");
        SSL_CTX_set_min_proto_version(context, TLS1_2_VERSION);
        SSL_CTX_set_verify(context, SSL_VERIFY_PEER, nullptr);
        trustSystemRoots(context);
        ERR_clear_error();  // a system without a trust store still takes the CA file
        if (!caFile.empty() &&
            SSL_CTX_load_verify_locations(context, caFile.c_str(), nullptr) != 1) {
            SSL_CTX_free(context);
            throw Failure("Cannot read the trusted certificates of the CA file " + caFile + ": " +
                          libraryReason() + ".");
        }
        return context;
    }

    std::mutex mutex_;
    SSL_CTX* context_ = nullptr;
    std::string caFile_;
    std::filesystem::file_time_type stamp_{};
};

ContextCache& contexts() {
    static ContextCache* cache = new ContextCache;  // lives to the end of the process
    return *cache;
}

class OpenSslTransport final : public TlsTransport {
public:
    OpenSslTransport(std::unique_ptr<Transport> inner, std::string caFile)
        : inner_(std::move(inner)),
          caFile_(std::move(caFile)),
          in_(kPairBuffer),
          out_(kPairBuffer) {}
    ~OpenSslTransport() override { close(); }
    OpenSslTransport(const OpenSslTransport&) = delete;
    OpenSslTransport& operator=(const OpenSslTransport&) = delete;

    void connect(const std::string& host, std::uint16_t port, int connectTimeout) override {
        release();
        inner_->connect(host, port, connectTimeout);
    }

    void handshake(const std::string& host, int readTimeout) override {
        release();
        SSL_CTX* context = contexts().get(caFile_);
        ssl_ = SSL_new(context);
        SSL_CTX_free(context);
        BIO* internal = nullptr;
        if (ssl_ == nullptr ||
            BIO_new_bio_pair(&internal, kPairBuffer, &network_, kPairBuffer) != 1)
            throw Failure("Cannot set up TLS: " + libraryReason() + ".");
        SSL_set_bio(ssl_, internal, internal);
        if (isAddressLiteral(host)) {
            X509_VERIFY_PARAM_set1_ip_asc(SSL_get0_param(ssl_), host.c_str());
        } else {
            SSL_set_tlsext_host_name(ssl_, host.c_str());
            SSL_set1_host(ssl_, host.c_str());
            SSL_set_hostflags(ssl_, X509_CHECK_FLAG_NO_PARTIAL_WILDCARDS);
        }
        SSL_set_connect_state(ssl_);

        const int wait = readTimeout == 0 ? -1 : std::max(readTimeout, 0);
        for (;;) {
            ERR_clear_error();
            const int result = SSL_do_handshake(ssl_);
            const int error = result == 1 ? SSL_ERROR_NONE : SSL_get_error(ssl_, result);
            if (error != SSL_ERROR_NONE && error != SSL_ERROR_WANT_READ &&
                error != SSL_ERROR_WANT_WRITE) {
                failed_ = true;
                const std::string reason = libraryReason();
                flush();  // our alert, when the peer is still there to read it
                const long verified = SSL_get_verify_result(ssl_);
                if (verified != X509_V_OK)
                    throw Failure(certificateFailureText(host, problemOf(verified),
                                                         X509_verify_cert_error_string(verified)));
                throw Failure("The TLS handshake with " + host + " failed: " + reason + ".");
            }
            // Our last handshake message (TLS 1.3's Finished) leaves with the
            // request in one write: sent alone, it would hold the request back
            // until the server acknowledged it, some 40 ms of delayed ACK.
            if (error == SSL_ERROR_NONE) break;
            if (const int sendError = flush(); sendError != 0)
                throw Failure(socketErrorMessage(sendError));
            if (error == SSL_ERROR_WANT_WRITE) continue;
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
        ready_ = true;
    }

    ReceiveResult receive(char* data, std::size_t capacity, int milliseconds) override {
        if (!ready_) return ReceiveResult::failed(kSocketNotSocket);
        ReceiveResult result;
        std::size_t total = 0;
        while (total < capacity) {
            ERR_clear_error();
            const int got = SSL_read(ssl_, data + total, clamp(capacity - total));
            if (got > 0) {
                total += static_cast<std::size_t>(got);
                // Whole records already here are decrypted in the same call.
                if (SSL_pending(ssl_) > 0 || BIO_ctrl_pending(SSL_get_rbio(ssl_)) > 0) continue;
                break;
            }
            const int error = SSL_get_error(ssl_, got);
            if (total > 0 && error != SSL_ERROR_SSL) break;
            if (error == SSL_ERROR_WANT_READ || error == SSL_ERROR_WANT_WRITE) {
                if (const int sendError = flush(); sendError != 0)
                    return ReceiveResult::failed(sendError);
                if (error == SSL_ERROR_WANT_WRITE) continue;
                const ReceiveResult more = fill(milliseconds);
                // A close without close_notify is the plain close it replaces:
                // a body cut short shows as such to the reader above.
                if (more.status != ReceiveResult::Status::Data) return more;
                continue;
            }
            if (error == SSL_ERROR_ZERO_RETURN) {
                result.status = ReceiveResult::Status::Closed;
                return result;
            }
            failed_ = true;
            throw Failure("The TLS connection failed: " + libraryReason() + ".");
        }
        result.status = ReceiveResult::Status::Data;
        result.size = total;
        return result;
    }

    int send(const char* data, std::size_t size, std::size_t& sent) override {
        sent = 0;
        if (!ready_) return kSocketNotSocket;
        while (sent < size) {
            ERR_clear_error();
            const int written = SSL_write(ssl_, data + sent, clamp(size - sent));
            if (written > 0) {
                sent += static_cast<std::size_t>(written);
                continue;
            }
            const int error = SSL_get_error(ssl_, written);
            if (error == SSL_ERROR_WANT_WRITE || error == SSL_ERROR_WANT_READ) {
                if (const int sendError = flush(); sendError != 0) return sendError;
                if (error == SSL_ERROR_WANT_READ && fill(0).status != ReceiveResult::Status::Data &&
                    BIO_ctrl_pending(network_) == 0)
                    return kSocketShutDown;
                continue;
            }
            failed_ = true;
            throw Failure("The TLS connection failed: " + libraryReason() + ".");
        }
        return flush();
    }

    void close() override {
        if (ready_ && !failed_) {
            SSL_shutdown(ssl_);  // our close_notify; the peer's is not awaited
            flush();
        }
        release();
        inner_->close();
    }

private:
    static int clamp(std::size_t size) {
        return size > static_cast<std::size_t>(INT_MAX) ? INT_MAX : static_cast<int>(size);
    }

    void release() {
        if (ssl_ != nullptr) SSL_free(ssl_);  // frees the pair's inner end too
        if (network_ != nullptr) BIO_free(network_);
        ssl_ = nullptr;
        network_ = nullptr;
        ready_ = false;
        failed_ = false;
        ERR_clear_error();
    }

    // Sends what the library has written; 0 or a socket error.
    int flush() {
        if (network_ == nullptr) return 0;
        while (BIO_ctrl_pending(network_) > 0) {
            const int taken = BIO_read(network_, out_.data(), clamp(out_.size()));
            if (taken <= 0) break;
            std::size_t done = 0;
            while (done < static_cast<std::size_t>(taken)) {
                std::size_t sent = 0;
                const int error =
                    inner_->send(out_.data() + done, static_cast<std::size_t>(taken) - done, sent);
                if (error != 0) return error;
                if (sent == 0) return kSocketShutDown;
                done += sent;
            }
        }
        return 0;
    }

    // One receive from the inner stream into the library's input.
    ReceiveResult fill(int milliseconds) {
        const std::size_t room = std::min(BIO_ctrl_get_write_guarantee(network_), in_.size());
        if (room == 0) {
            ReceiveResult nothing;
            nothing.status = ReceiveResult::Status::Data;
            return nothing;
        }
        const ReceiveResult got = inner_->receive(in_.data(), room, milliseconds);
        if (got.status == ReceiveResult::Status::Data && got.size > 0)
            BIO_write(network_, in_.data(), static_cast<int>(got.size));
        return got;
    }

    std::unique_ptr<Transport> inner_;
    std::string caFile_;
    SSL* ssl_ = nullptr;
    BIO* network_ = nullptr;
    bool ready_ = false;
    bool failed_ = false;
    std::vector<char> in_;
    std::vector<char> out_;
};

}  // namespace

std::unique_ptr<TlsTransport> makeTlsTransport(std::unique_ptr<Transport> inner,
                                               const std::string& caFile) {
    return std::make_unique<OpenSslTransport>(std::move(inner), caFile);
}

}  // namespace vantorel
