#include "retrieval/TcpConnection.h"

#include <cstring>

#include "platform/Failure.h"
#include "platform/Socket.h"
#include "retrieval/SocketErrorText.h"

namespace vantorel {
namespace {

constexpr int kProbeMilliseconds = 1;

}  // namespace

TcpConnection::TcpConnection(TransportFactory factory) : factory_(std::move(factory)) {}

TcpConnection::~TcpConnection() {
    close();
}

void TcpConnection::open(const std::string& host, std::uint16_t port, int connectTimeout,
                         const TlsWrapper& tls) {
    close();
    buffer_.clear();
    closedByPeer_ = false;
    std::unique_ptr<Transport> transport = factory_();
    TlsTransport* encrypted = nullptr;
    if (tls) {
        std::unique_ptr<TlsTransport> wrapped = tls(std::move(transport));
        if (!wrapped) throw Failure("Transport value is not valid");
        encrypted = wrapped.get();
        transport = std::move(wrapped);
    }
    transport->connect(host, port, connectTimeout);
    transport_ = std::move(transport);
    tls_ = encrypted;
    host_ = host;
    port_ = port;
}

void TcpConnection::handshake(const std::string& host, int readTimeout) {
    if (!tls_) throw Failure("Not Connected");
    try {
        tls_->handshake(host, readTimeout);
    } catch (const Failure&) {
        close();
        throw;
    }
}

void TcpConnection::close() {
    if (!transport_) return;
    tls_ = nullptr;
    transport_->close();
    transport_.reset();
}

void TcpConnection::closeByPeer() {
    closedByPeer_ = true;
    close();
}

void TcpConnection::probe() {
    if (!transport_) return;
    char* room = buffer_.prepare(InputBuffer::kBlockSize);
    ReceiveResult result;
    try {
        result = transport_->receive(room, InputBuffer::kBlockSize, kProbeMilliseconds);
    } catch (const Failure&) {
        result.status = ReceiveResult::Status::Failed;  // a broken TLS session
    }
    switch (result.status) {
        case ReceiveResult::Status::Data:
            buffer_.commit(result.size);
            break;
        case ReceiveResult::Status::TimedOut:
            break;
        // An idle connection that broke in any way is simply replaced.
        case ReceiveResult::Status::Closed:
        case ReceiveResult::Status::Failed:
            closeByPeer();
            break;
    }
}

void TcpConnection::sendAll(const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        if (!transport_) throw Failure("Not Connected");
        std::size_t sent = 0;
        int error = transport_->send(bytes.data() + done, bytes.size() - done, sent);
        if (error == 0 && sent == 0) error = kSocketShutDown;
        if (error != 0) {
            if (error == kSocketConnectionAborted || error == kSocketConnectionReset ||
                error == kSocketShutDown)
                close();
            throw Failure(socketErrorMessage(error));
        }
        done += sent;
    }
}

bool TcpConnection::receiveMore(int readTimeout) {
    if (!transport_) {
        if (closedByPeer_) return false;
        throw Failure("Not Connected");
    }
    if (readTimeout < 0) throw Failure("Read Timeout");
    char* room = buffer_.prepare(InputBuffer::kBlockSize);
    const ReceiveResult result =
        transport_->receive(room, InputBuffer::kBlockSize, readTimeout == 0 ? -1 : readTimeout);
    switch (result.status) {
        case ReceiveResult::Status::Data:
            buffer_.commit(result.size);
            return true;
        case ReceiveResult::Status::Closed:
            closeByPeer();
            return false;
        case ReceiveResult::Status::TimedOut:
            throw Failure("Read Timeout");
        case ReceiveResult::Status::Failed:
            break;
    }
    const bool unread = !buffer_.empty();
    closeByPeer();
    if (unread && (result.error == kSocketConnectionAborted || result.error == kSocketShutDown))
        return false;
    throw Failure(socketErrorMessage(result.error));
}

std::optional<std::string> TcpConnection::readLine(int readTimeout, std::size_t maxLength) {
    // The search resumes where it stopped, so a long line is scanned once.
    std::size_t scanned = 0;
    for (;;) {
        const char* data = buffer_.data();
        const std::size_t size = buffer_.size();
        const void* found =
            scanned < size ? std::memchr(data + scanned, '\n', size - scanned) : nullptr;
        if (found != nullptr) {
            std::size_t length = static_cast<const char*>(found) - data;
            if (length > maxLength) throw Failure("Max line length exceeded.");
            std::string line(data, length > 0 && data[length - 1] == '\r' ? length - 1 : length);
            buffer_.consume(length + 1);
            return line;
        }
        scanned = size;
        if (scanned > maxLength) throw Failure("Max line length exceeded.");
        if (!receiveMore(readTimeout)) return std::nullopt;
    }
}

}  // namespace vantorel
