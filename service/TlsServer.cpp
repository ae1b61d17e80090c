#include "TlsServer.h"

#include <fcntl.h>
#include <openssl/err.h>
#include <openssl/ssl.h>
#include <poll.h>
#include <sys/socket.h>

#include <chrono>
#include <climits>
#include <string>

#include "platform/Failure.h"

namespace vantorel::service {

namespace {

std::string lastError() {
    const unsigned long code = ERR_get_error();
    ERR_clear_error();
    if (code == 0) return "no reason given";
    char text[256];
    ERR_error_string_n(code, text, sizeof text);
    return text;
}

int millisecondsLeft(std::chrono::steady_clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                          deadline - std::chrono::steady_clock::now())
                          .count();
    return left > 0 ? static_cast<int>(left) : 0;
}

class TlsStream : public ConnectionStream {
public:
    TlsStream(SSL* ssl, int socket, int sendTimeoutMs)
        : ssl_(ssl), socket_(socket), sendTimeoutMs_(sendTimeoutMs) {}
    ~TlsStream() override { SSL_free(ssl_); }

    bool waitReadable(int timeoutMs) override {
        return SSL_pending(ssl_) > 0 || waitForSocket(socket_, POLLIN, timeoutMs);
    }

    long receive(char* data, std::size_t size) override {
        const int got = SSL_read(ssl_, data, size > INT_MAX ? INT_MAX : static_cast<int>(size));
        if (got > 0) return got;
        switch (SSL_get_error(ssl_, got)) {
            case SSL_ERROR_WANT_READ:
                return kAgain;
            case SSL_ERROR_WANT_WRITE:
                waitForSocket(socket_, POLLOUT, sendTimeoutMs_);
                return kAgain;
            case SSL_ERROR_ZERO_RETURN:
                return 0;
            default:
                ERR_clear_error();
                return -1;
        }
    }

    bool sendAll(std::string_view first, std::string_view second) override {
        // One record for head and first block, as the plain stream sends them in one call.
        if (!first.empty() && !second.empty()) {
            std::string joined;
            joined.reserve(first.size() + second.size());
            joined.append(first).append(second);
            return write(joined);
        }
        return write(first) && write(second);
    }

    void finishSending() override {
        if (!SSL_in_init(ssl_)) SSL_shutdown(ssl_);
        ERR_clear_error();
        ::shutdown(socket_, SHUT_WR);
    }

private:
    bool write(std::string_view bytes) {
        while (!bytes.empty()) {
            const int want = bytes.size() > INT_MAX ? INT_MAX : static_cast<int>(bytes.size());
            const int sent = SSL_write(ssl_, bytes.data(), want);
            if (sent > 0) {
                bytes.remove_prefix(static_cast<std::size_t>(sent));
                continue;
            }
            const int error = SSL_get_error(ssl_, sent);
            const short events = error == SSL_ERROR_WANT_WRITE  ? POLLOUT
                                 : error == SSL_ERROR_WANT_READ ? POLLIN
                                                                : 0;
            if (events == 0 || !waitForSocket(socket_, events, sendTimeoutMs_)) {
                ERR_clear_error();
                return false;
            }
        }
        return true;
    }

    SSL* ssl_;
    int socket_;
    int sendTimeoutMs_;
};

}  // namespace

TlsServer::TlsServer(const std::string& certificateFile, const std::string& keyFile) {
    context_ = SSL_CTX_new(TLS_server_method());
    if (context_ == nullptr) throw Failure("Cannot set up TLS: " + lastError());
    SSL_CTX_set_min_proto_version(context_, TLS1_2_VERSION);
    SSL_CTX_set_mode(context_, SSL_MODE_ENABLE_PARTIAL_WRITE | SSL_MODE_ACCEPT_MOVING_WRITE_BUFFER);
    std::string failure;
    if (SSL_CTX_use_certificate_chain_file(context_, certificateFile.c_str()) != 1)
        failure = "Cannot load the certificate " + certificateFile + ": " + lastError();
    else if (SSL_CTX_use_PrivateKey_file(context_, keyFile.c_str(), SSL_FILETYPE_PEM) != 1)
        failure = "Cannot load the key " + keyFile + ": " + lastError();
    else if (SSL_CTX_check_private_key(context_) != 1)
        failure = "The key " + keyFile + " does not belong to the certificate " + certificateFile;
    if (!failure.empty()) {
        SSL_CTX_free(context_);
        throw Failure(failure);
    }
}

TlsServer::~TlsServer() {
    SSL_CTX_free(context_);
}

std::unique_ptr<ConnectionStream> TlsServer::accept(int socket, int timeoutMs, int sendTimeoutMs,
                                                    std::string& reason) const {
    SSL* ssl = SSL_new(context_);
    if (ssl == nullptr || SSL_set_fd(ssl, socket) != 1) {
        reason = lastError();
        SSL_free(ssl);
        return nullptr;
    }
    // Every wait is a poll with its own limit, so no call may block.
    ::fcntl(socket, F_SETFL, ::fcntl(socket, F_GETFL) | O_NONBLOCK);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (true) {
        const int result = SSL_accept(ssl);
        if (result == 1) break;
        const int error = SSL_get_error(ssl, result);
        const short events = error == SSL_ERROR_WANT_READ    ? POLLIN
                             : error == SSL_ERROR_WANT_WRITE ? POLLOUT
                                                             : 0;
        if (events == 0) {
            reason = "TLS handshake failed: " + lastError();
            SSL_free(ssl);
            return nullptr;
        }
        if (!waitForSocket(socket, events, millisecondsLeft(deadline))) {
            reason = "TLS handshake did not complete in time";
            ERR_clear_error();
            SSL_free(ssl);
            return nullptr;
        }
    }
    return std::make_unique<TlsStream>(ssl, socket, sendTimeoutMs);
}

}  // namespace vantorel::service
