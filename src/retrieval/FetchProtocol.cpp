#include "retrieval/FetchProtocol.h"

#include <algorithm>

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
    return "http://" + host + kFetchPath + "?patent=" + request + "&name=" + login +
           "&pswd=" + password;
}

std::vector<std::string> splitIndexResponse(const std::string& body) {
    std::vector<std::string> entries;
    const std::string marker = kEntryMarker;
    std::size_t start = 0;
    for (std::size_t at; (at = body.find(marker, start)) != std::string::npos;
         start = at + marker.size())
        entries.push_back(body.substr(start, at - start));
    return entries;
}

EntryKind classifyEntry(const std::string& entry) {
    if (entry.find(kCredentialsRejected) != std::string::npos) return EntryKind::CredentialsRejected;
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
    if (name.empty() || name == "." || name == "..") return false;
    return std::none_of(name.begin(), name.end(), [](char c) {
        return c == '/' || c == '\\' || c == ':' || static_cast<unsigned char>(c) < ' ';
    });
}

std::string refusedFileNameMessage(const std::string& fileAddress) {
    return "The service listed a file that cannot be saved in the patent folder: " + fileAddress;
}

}  // namespace vantorel::FetchProtocol
