#include "RequestLog.h"

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
    // Everything from the password to the end of the query is hidden: the
    // password may itself hold "&", "=", blanks or anything else. The query
    // ends at the blank before the version, or with the line.
    const std::size_t query = line.find('?');
    if (query == std::string::npos) return HttpText::printable(line, kLongestLoggedLine);
    std::size_t queryEnd = line.size();
    if (const std::size_t blank = line.rfind(' ');
        blank != std::string::npos && blank > query && line.compare(blank + 1, 5, "HTTP/") == 0)
        queryEnd = blank;
    for (std::size_t at = query + 1; (at = line.find("pswd=", at)) < queryEnd; at += 5) {
        if (line[at - 1] != '?' && line[at - 1] != '&') continue;
        line.replace(at + 5, queryEnd - (at + 5), "***");
        break;
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
