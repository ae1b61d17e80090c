#include "RequestLog.h"

#include <algorithm>
#include <ctime>

#include "HttpText.h"
#include "platform/Failure.h"

namespace vantorel::service {

namespace {

constexpr std::size_t kLongestLoggedLine = 512;

std::string timestamp() {
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
    gmtime_r(&now, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
    return text;
}

}  // namespace

RequestLog::RequestLog(const std::string& path) : out_(stderr), owned_(false) {
    if (path.empty()) return;
    out_ = std::fopen(path.c_str(), "ae");
    if (!out_) throw Failure("Cannot open the log file " + path);
    owned_ = true;
}

RequestLog::~RequestLog() {
    if (owned_) std::fclose(out_);
}

std::string RequestLog::maskedRequestLine(std::string_view requestLine) {
    std::string line(requestLine);
    // A password runs to the next "&" or, as the last key, to the blank
    // before the version; it may itself hold blanks.
    std::size_t at = line.find('?');
    while (at != std::string::npos && (at = line.find("pswd=", at)) != std::string::npos) {
        const std::size_t start = at + 5;
        at = start;
        if (line[start - 6] != '?' && line[start - 6] != '&') continue;
        const std::size_t lastBlank = line.rfind(' ');
        const std::size_t valueEnd =
            lastBlank != std::string::npos && lastBlank >= start ? lastBlank : line.size();
        const std::size_t end = std::min(line.find('&', start), valueEnd);
        line.replace(start, end - start, "***");
        at = start + 3;
    }
    return HttpText::printable(line, kLongestLoggedLine);
}

void RequestLog::request(const std::string& peer, std::string_view requestLine, int status,
                         std::uint64_t bodyBytes) {
    write(timestamp() + " " + peer + " \"" + maskedRequestLine(requestLine) + "\" " +
          std::to_string(status) + " " + std::to_string(bodyBytes));
}

void RequestLog::note(std::string_view text) {
    write(timestamp() + " " + HttpText::printable(text, kLongestLoggedLine));
}

void RequestLog::write(const std::string& line) {
    std::lock_guard lock(mutex_);
    std::fputs(line.c_str(), out_);
    std::fputc('\n', out_);
    std::fflush(out_);
}

}  // namespace vantorel::service
