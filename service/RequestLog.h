#pragma once

#include <cstdint>
#include <cstdio>
#include <mutex>
#include <string>
#include <string_view>

namespace vantorel::service {

// One line per request, from every connection thread, to a file or stderr.
// Passwords never reach it: the pswd value of a logged line is masked.
class RequestLog {
public:
    // An empty path logs to stderr. Throws vantorel::Failure when the file
    // cannot be opened for appending.
    explicit RequestLog(const std::string& path);
    ~RequestLog();
    RequestLog(const RequestLog&) = delete;
    RequestLog& operator=(const RequestLog&) = delete;

    void request(const std::string& peer, std::string_view requestLine, int status,
                 std::uint64_t bodyBytes);
    void note(std::string_view text);

    // The line as it is logged: pswd masked, unprintable bytes escaped.
    static std::string maskedRequestLine(std::string_view requestLine);

private:
    void write(const std::string& line);

    std::FILE* out_;
    bool owned_;
    std::mutex mutex_;
};

}  // namespace vantorel::service
