#pragma once

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace vantorel::test {

// The real vantorel-service on a free loopback port, stopped with the object.
class ServiceProcess {
public:
    explicit ServiceProcess(std::vector<std::string> arguments) {
        // The request log goes nowhere unless a test reads it.
        if (std::find(arguments.begin(), arguments.end(), "--log") == arguments.end()) {
            arguments.insert(arguments.end(), {"--log", "/dev/null"});
        }
        arguments.insert(arguments.begin(), {VANTOREL_SERVICE_BINARY, "--listen", "127.0.0.1:0"});
        int out[2];
        if (::pipe(out) != 0) throw std::runtime_error("pipe");
        pid_ = ::fork();
        if (pid_ == 0) {
            ::dup2(out[1], 1);
            ::close(out[0]);
            ::close(out[1]);
            std::vector<char*> argv;
            for (auto& a : arguments) argv.push_back(a.data());
            argv.push_back(nullptr);
            ::execv(argv[0], argv.data());
            ::_exit(127);
        }
        ::close(out[1]);
        // The first line says where it listens.
        std::string line;
        char c;
        pollfd entry{out[0], POLLIN, 0};
        while (::poll(&entry, 1, 10000) > 0 && ::read(out[0], &c, 1) == 1 && c != '\n') line += c;
        ::close(out[0]);
        const std::string prefix = "listening on 127.0.0.1:";
        if (line.rfind(prefix, 0) != 0) throw std::runtime_error("service did not start: " + line);
        port_ = std::stoi(line.substr(prefix.size()));
    }
    ~ServiceProcess() { stop(); }
    ServiceProcess(const ServiceProcess&) = delete;
    ServiceProcess& operator=(const ServiceProcess&) = delete;

    int port() const { return port_; }
    bool running() const { return pid_ > 0 && ::waitpid(pid_, nullptr, WNOHANG) == 0; }
    // Exit status after SIGTERM, -1 when it had to be killed.
    int stop() {
        if (pid_ <= 0) return -1;
        ::kill(pid_, SIGTERM);
        int status = 0;
        for (int i = 0; i < 100 && ::waitpid(pid_, &status, WNOHANG) == 0; ++i) ::usleep(50000);
        if (::waitpid(pid_, &status, WNOHANG) == 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, &status, 0);
            pid_ = -1;
            return -1;
        }
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

private:
    pid_t pid_ = -1;
    int port_ = 0;
};

struct WireResponse {
    int status = 0;
    std::map<std::string, std::string> headers;  // names in lower case
    std::string body;
    bool complete = false;

    std::string header(const std::string& lowerCaseName) const {
        const auto it = headers.find(lowerCaseName);
        return it == headers.end() ? "" : it->second;
    }
};

// A raw loopback client: sends exactly the bytes given and reads replies
// framed by Content-Length, with a time limit on every wait.
class RawClient {
public:
    explicit RawClient(int port) {
        socket_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<std::uint16_t>(port));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (::connect(socket_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
            throw std::runtime_error("connect failed");
        }
    }
    ~RawClient() { ::close(socket_); }
    RawClient(const RawClient&) = delete;
    RawClient& operator=(const RawClient&) = delete;

    bool send(const std::string& bytes) {
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t sent =
                ::send(socket_, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
            if (sent <= 0) return false;
            done += static_cast<std::size_t>(sent);
        }
        return true;
    }
    WireResponse read(bool headOnly = false) {
        WireResponse response;
        std::size_t end;
        while ((end = buffer_.find("\r\n\r\n")) == std::string::npos) {
            if (!fill()) return response;
        }
        const std::string head = buffer_.substr(0, end);
        buffer_.erase(0, end + 4);
        response.status = std::stoi(head.substr(9, 3));
        std::size_t at = head.find("\r\n");
        while (at != std::string::npos) {
            const std::size_t next = head.find("\r\n", at + 2);
            const std::string line =
                head.substr(at + 2, next == std::string::npos ? std::string::npos : next - at - 2);
            const std::size_t colon = line.find(':');
            std::string name = line.substr(0, colon);
            for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            response.headers[name] = line.substr(colon + 2);
            at = next;
        }
        const std::size_t length = headOnly ? 0 : std::stoul(response.header("content-length"));
        while (buffer_.size() < length) {
            if (!fill()) return response;
        }
        response.body = buffer_.substr(0, length);
        buffer_.erase(0, length);
        response.complete = true;
        return response;
    }
    WireResponse get(const std::string& target, const std::string& extraHeaders = "") {
        send("GET " + target + " HTTP/1.1\r\nHost: localhost\r\n" + extraHeaders + "\r\n");
        return read();
    }
    // True when the server closed the connection (nothing more to read).
    bool closedByServer() { return buffer_.empty() && !fill(); }

private:
    bool fill() {
        pollfd entry{socket_, POLLIN, 0};
        if (::poll(&entry, 1, 10000) <= 0) return false;
        char block[65536];
        const ssize_t got = ::recv(socket_, block, sizeof block, 0);
        if (got <= 0) return false;
        buffer_.append(block, static_cast<std::size_t>(got));
        return true;
    }

    int socket_ = -1;
    std::string buffer_;
};

}  // namespace vantorel::test
