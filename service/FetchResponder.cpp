#include "FetchResponder.h"

#include <cctype>
#include <random>

#include "HttpText.h"
#include "PatentNumber.h"

namespace vantorel::service {

namespace {

constexpr std::string_view kFilesPrefix = "/files/";
constexpr std::string_view kFileSuffix = "_full.pdf";
constexpr std::size_t kSessionLength = 32;
constexpr std::size_t kLongestEchoedNumber = 40;

// A Host value is copied into every file address, so only the characters of
// a host name, an IPv4 or bracketed IPv6 address and a port are taken.
bool usableHost(std::string_view host) {
    if (host.empty() || host.size() > 255) return false;
    for (char c : host) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x80) return false;
        if (!std::isalnum(byte) && std::string_view(".-:[]_").find(c) == std::string_view::npos) {
            return false;
        }
    }
    return true;
}

// The piece as the user typed it, for an error entry: a "<" or ">" could
// end the entry early and a control byte would garble the message box.
std::string echoed(std::string_view piece) {
    std::string out;
    for (char c : piece) {
        if (out.size() >= kLongestEchoedNumber) {
            out += "...";
            break;
        }
        const auto byte = static_cast<unsigned char>(c);
        out.push_back(byte < 0x20 || byte == 0x7F || c == '<' || c == '>' ? '?' : c);
    }
    return out;
}

std::string_view trimBlanks(std::string_view text) {
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= 0x20) text.remove_prefix(1);
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= 0x20) text.remove_suffix(1);
    return text;
}

std::string newSessionId() {
    static thread_local std::mt19937_64 generator{std::random_device{}()};
    static constexpr char kHex[] = "0123456789abcdef";
    std::string id;
    while (id.size() < kSessionLength) {
        std::uint64_t bits = generator();
        for (int i = 0; i < 16 && id.size() < kSessionLength; ++i, bits >>= 4) {
            id.push_back(kHex[bits & 0xF]);
        }
    }
    return id;
}

// The session a client already holds, when its Cookie header carries one of
// ours; a malformed value is replaced by a fresh one.
std::string sessionFrom(const HttpRequest& request) {
    const std::string cookies = request.header("Cookie").value_or("");
    const std::string key = std::string(FetchResponder::kSessionCookie) + "=";
    std::string_view rest = cookies;
    while (!rest.empty()) {
        const std::size_t semicolon = rest.find(';');
        const std::string_view pair = HttpText::trim(rest.substr(0, semicolon));
        if (pair.substr(0, key.size()) == key) {
            const std::string_view value = pair.substr(key.size());
            bool valid = value.size() == kSessionLength;
            for (char c : value) valid = valid && std::isxdigit(static_cast<unsigned char>(c));
            if (valid) return std::string(value);
        }
        if (semicolon == std::string_view::npos) break;
        rest.remove_prefix(semicolon + 1);
    }
    return newSessionId();
}

}  // namespace

FetchResponder::FetchResponder(AccountList accounts, PatentCatalogue& catalogue, std::string scheme)
    : accounts_(std::move(accounts)), catalogue_(catalogue), scheme_(std::move(scheme)) {}

HttpResponse FetchResponder::respond(const HttpRequest& request,
                                     const std::string& localAddress) const {
    const std::string hostHeader = request.header("Host").value_or("");
    const std::string host = usableHost(hostHeader) ? hostHeader : localAddress;
    const std::string path = request.path();
    if (path == kFetchPath) return index(request, host);
    if (path.compare(0, kFilesPrefix.size(), kFilesPrefix) == 0) return document(path);
    if (path == "/") {
        return HttpResponse::text(200, "OK",
                                  "vantorel-service: reference patent service.\n"
                                  "Index: /patent_pdf/fetcher.php?patent=NUMBERS&name=LOGIN&pswd="
                                  "PASSWORD\n");
    }
    return HttpResponse::text(404, "Not Found", "No such resource.\n");
}

std::string FetchResponder::indexBody(const std::string& request, const std::string& host) const {
    std::string body;
    std::string_view rest = request;
    while (true) {
        const std::size_t semicolon = rest.find(';');
        const std::string_view piece = trimBlanks(rest.substr(0, semicolon));
        if (!piece.empty()) {
            const auto canonical = canonicalPatentNumber(piece);
            if (!canonical) {
                body += "Error: " + echoed(piece) + " is not a patent number";
            } else if (!catalogue_.contains(*canonical)) {
                body += "Error: patent " + echoed(piece) + " was not found";
            } else {
                body += scheme_ + "://" + host + std::string(kFilesPrefix) + *canonical +
                        std::string(kFileSuffix);
            }
        }
        body += "<br>";
        if (semicolon == std::string_view::npos) break;
        rest.remove_prefix(semicolon + 1);
    }
    return body;
}

HttpResponse FetchResponder::index(const HttpRequest& request, const std::string& host) const {
    const auto patent = request.queryValue("patent");
    const auto name = request.queryValue("name");
    const auto password = request.queryValue("pswd");
    if (!patent || !name || !password) {
        return HttpResponse::text(400, "Bad Request",
                                  "The fetch request needs the keys patent, name and pswd.\n");
    }
    HttpResponse response;
    response.headers.emplace_back("Content-Type", "text/html; charset=iso-8859-1");
    response.headers.emplace_back("Cache-Control", "no-store");
    // Over https the session is never to travel in clear.
    response.headers.emplace_back("Set-Cookie", std::string(kSessionCookie) + "=" +
                                                    sessionFrom(request) + "; Path=/; HttpOnly" +
                                                    (scheme_ == "https" ? "; Secure" : ""));
    if (!accounts_.accepts(*name, *password)) {
        response.body = "Incorrect login or password<br>";
    } else {
        response.body = indexBody(*patent, host);
    }
    return response;
}

HttpResponse FetchResponder::document(const std::string& path) const {
    std::string_view name = std::string_view(path).substr(kFilesPrefix.size());
    const bool wellFormed =
        name.size() > kFileSuffix.size() && name.find('/') == std::string_view::npos &&
        HttpText::equalsIgnoringCase(name.substr(name.size() - kFileSuffix.size()), kFileSuffix);
    const auto canonical =
        wellFormed ? canonicalPatentNumber(name.substr(0, name.size() - kFileSuffix.size()))
                   : std::nullopt;
    auto found = canonical ? catalogue_.find(*canonical) : std::nullopt;
    if (!found) return HttpResponse::text(404, "Not Found", "No such document.\n");
    HttpResponse response;
    response.headers.emplace_back("Content-Type", "application/pdf");
    response.headers.emplace_back("Content-Disposition",
                                  "attachment; filename=\"" + *canonical + ".pdf\"");
    response.file = std::move(found->file);
    response.sharedBody = std::move(found->generated);
    return response;
}

}  // namespace vantorel::service
