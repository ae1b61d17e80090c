#include "retrieval/FetchProtocol.h"

#include <algorithm>
#include <optional>

#include "retrieval/HttpText.h"

namespace vantorel::FetchProtocol {

std::string normaliseRequest(const std::string& raw) {
    auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    std::size_t first = 0, last = raw.size();
    while (first < last && blank(raw[first])) ++first;
    while (last > first && blank(raw[last - 1])) --last;
    std::string text = raw.substr(first, last - first);
    for (const char removed : {' ', ',', '.', ':'})
        text.erase(std::remove(text.begin(), text.end(), removed), text.end());
    return text;
}

std::string composeFetchAddress(const std::string& host, const std::string& request,
                                const std::string& login, const std::string& password) {
    const std::string https = "https://";
    const bool secure =
        host.size() > https.size() && equalsIgnoreCase(host.substr(0, https.size()), https);
    std::string authority = secure ? host.substr(https.size()) : host;
    // "https://host/" is how such an address is often written down.
    while (secure && !authority.empty() && authority.back() == '/') authority.pop_back();
    return (secure ? https : std::string("http://")) + authority + kFetchPath +
           "?patent=" + request + "&name=" + login + "&pswd=" + password;
}

namespace {

// The scheme of an address as the HTTP client reads it (backslashes are
// slashes); empty for a relative address.
std::optional<std::string> schemeOf(std::string address) {
    std::replace(address.begin(), address.end(), '\\', '/');
    const std::size_t separator = address.find("://");
    if (separator == std::string::npos) return std::nullopt;
    return address.substr(0, separator);
}

}  // namespace

bool leavesHttps(const std::string& fetchAddress, const std::string& fileAddress) {
    const auto service = schemeOf(fetchAddress);
    if (!service || !equalsIgnoreCase(*service, "https")) return false;
    const auto file = schemeOf(fileAddress);
    return file && !equalsIgnoreCase(*file, "https");
}

std::string unencryptedAddressMessage(const std::string& fileAddress) {
    return "The https service listed an address that is not https; it is not fetched, so "
           "nothing of the session travels in clear: " +
           fileAddress;
}

std::vector<std::string> splitIndexResponse(const std::string& body) {
    std::vector<std::string> entries;
    std::size_t from = 0;
    while (const auto entry = nextIndexEntry(body, &from)) entries.emplace_back(*entry);
    return entries;
}

std::optional<std::pair<std::string, std::string>> splitRequest(std::string_view request) {
    const auto separators =
        static_cast<std::size_t>(std::count(request.begin(), request.end(), ';'));
    if (separators == 0) return std::nullopt;
    // Of n numbers the first half takes n / 2: the cut is the (n / 2)-th ";".
    std::size_t cut = 0;
    for (std::size_t left = (separators + 1) / 2;; ++cut)
        if (request[cut] == ';' && --left == 0) break;
    return std::make_pair(std::string(request.substr(0, cut)),
                          std::string(request.substr(cut + 1)));
}

std::size_t countIndexEntries(std::string_view body) {
    std::size_t count = 0;
    for (std::size_t from = 0; nextIndexEntry(body, &from);) ++count;
    return count;
}

std::optional<std::string_view> nextIndexEntry(std::string_view body, std::size_t* from) {
    const std::string_view marker = kEntryMarker;
    const std::size_t at = body.find(marker, *from);
    if (at == std::string_view::npos) return std::nullopt;
    const std::string_view entry = body.substr(*from, at - *from);
    *from = at + marker.size();
    return entry;
}

EntryKind classifyEntry(const std::string& entry) {
    if (entry.find(kCredentialsRejected) != std::string::npos)
        return EntryKind::CredentialsRejected;
    if (entry.find("Error:") != std::string::npos) return EntryKind::ServiceError;
    const bool empty = std::all_of(entry.begin(), entry.end(),
                                   [](char c) { return static_cast<unsigned char>(c) <= ' '; });
    return empty ? EntryKind::Empty : EntryKind::FileAddress;
}

std::string localFileName(const std::string& fileAddress) {
    const auto slash = fileAddress.rfind('/');
    std::string name = slash == std::string::npos ? fileAddress : fileAddress.substr(slash + 1);
    if (const auto full = name.find("_full"); full != std::string::npos) name.erase(full, 5);
    return name;
}

bool isSafeLocalFileName(const std::string& name) {
    if (name.empty() || name[0] == '.') return false;
    return std::none_of(name.begin(), name.end(), [](char c) {
        return c == '/' || c == '\\' || c == ':' || static_cast<unsigned char>(c) < ' ';
    });
}

bool isViewableName(const std::string& name) {
    if (name.size() < 4) return false;
    std::string extension = name.substr(name.size() - 4);
    for (char& c : extension)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return extension == ".pdf";
}

std::string refusedFileNameMessage(const std::string& fileAddress) {
    return "The service listed a file that cannot be saved in the patent folder: " + fileAddress;
}

}  // namespace vantorel::FetchProtocol
