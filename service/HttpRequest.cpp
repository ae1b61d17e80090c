#include "HttpRequest.h"

#include "HttpText.h"

namespace vantorel::service {

std::optional<std::string> HttpRequest::header(std::string_view name) const {
    for (const auto& [key, value] : headers) {
        if (HttpText::equalsIgnoringCase(key, name)) return value;
    }
    return std::nullopt;
}

bool HttpRequest::keepAlive() const {
    const std::string connection = header("Connection").value_or("");
    if (version == "HTTP/1.0") return HttpText::hasToken(connection, "keep-alive");
    return !HttpText::hasToken(connection, "close");
}

std::string HttpRequest::path() const {
    return target.substr(0, target.find('?'));
}

std::optional<std::string> HttpRequest::queryValue(std::string_view key) const {
    const std::size_t question = target.find('?');
    if (question == std::string::npos) return std::nullopt;
    std::string_view query = std::string_view(target).substr(question + 1);
    while (true) {
        const std::size_t amp = query.find('&');
        const std::string_view pair = query.substr(0, amp);
        const std::size_t equals = pair.find('=');
        if (pair.substr(0, equals) == key) {
            return std::string(equals == std::string_view::npos ? std::string_view()
                                                                : pair.substr(equals + 1));
        }
        if (amp == std::string_view::npos) return std::nullopt;
        query.remove_prefix(amp + 1);
    }
}

}  // namespace vantorel::service
