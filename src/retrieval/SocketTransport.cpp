#include "retrieval/SocketTransport.h"

#include "platform/Failure.h"
#include "retrieval/SocketErrorText.h"

namespace vantorel {
namespace {

bool isLocalhost(const std::string& host) {
    static const char kName[] = "LOCALHOST";
    if (host.size() != sizeof kName - 1) return false;
    for (std::size_t i = 0; i < host.size(); ++i) {
        const char c = host[i] >= 'a' && host[i] <= 'z' ? static_cast<char>(host[i] - 32) : host[i];
        if (c != kName[i]) return false;
    }
    return true;
}

}  // namespace

SocketTransport::SocketTransport(Resolver resolver) : resolver_(std::move(resolver)) {}

SocketTransport::~SocketTransport() {
    close();
}

void SocketTransport::connect(const std::string& host, std::uint16_t port, int connectTimeout) {
    close();
    if (createStreamSocket(handle_) != 0) {
        handle_ = kNoSocket;
        throw Failure("Cannot allocate socket.");
    }
    int error = bindToAnyAddress(handle_);
    if (error == kSocketAddressInUse) {
        close();
        throw Failure("Could not bind socket. Address and port are already in use.");
    }
    Ipv4Address address = 0;
    if (error == 0) {
        if (isLocalhost(host))
            error = resolveIPv4("127.0.0.1", address);
        else
            error = resolver_(host, address);
    }
    if (error == 0) error = connectWithin(address, port, connectTimeout);
    if (error != 0) {
        close();
        throw Failure(socketErrorMessage(error));
    }
}

// Returns the connect's outcome; throws when the time-out passes first.
int SocketTransport::connectWithin(Ipv4Address address, std::uint16_t port, int connectTimeout) {
    if (connectTimeout == 0 || connectTimeout == -1) return connectSocket(handle_, address, port);

    int result = startConnect(handle_, address, port);
    if (result != kSocketInProgress) return result;
    int waited = 0;
    do {
        bool finished = false;
        result = awaitConnect(handle_, kConnectStepMilliseconds, finished);
        if (finished || result != 0) return result;
        waited += kConnectStepMilliseconds;
    } while (waited < connectTimeout);
    close();
    throw Failure("Connect timed out.");
}

ReceiveResult SocketTransport::receive(char* data, std::size_t capacity, int milliseconds) {
    if (handle_ == kNoSocket) return ReceiveResult::failed(kSocketNotSocket);
    ReceiveResult result;
    // Bytes already waiting are taken without a wait call first.
    int error = receiveWaiting(handle_, data, capacity, result.size);
    if (error == kSocketWouldBlock) {
        bool readable = false;
        error = waitReadable(handle_, milliseconds, readable);
        if (error == 0 && !readable) return result;  // TimedOut
        if (error == 0) error = receiveBytes(handle_, data, capacity, result.size);
    }
    if (error != 0) {
        result.status = ReceiveResult::Status::Failed;
        result.error = error;
    } else {
        result.status =
            result.size == 0 ? ReceiveResult::Status::Closed : ReceiveResult::Status::Data;
    }
    return result;
}

int SocketTransport::send(const char* data, std::size_t size, std::size_t& sent) {
    sent = 0;
    if (handle_ == kNoSocket) return kSocketNotSocket;
    return sendBytes(handle_, data, size, sent);
}

void SocketTransport::close() {
    if (handle_ == kNoSocket) return;
    shutdownSending(handle_);
    closeSocket(handle_);
    handle_ = kNoSocket;
}

}  // namespace vantorel
