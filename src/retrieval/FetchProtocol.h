#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vantorel {

// The patent service's fetch request and its Index response.
namespace FetchProtocol {

inline constexpr const char* kFetchPath = "/patent_pdf/fetcher.php";
inline constexpr const char* kEntryMarker = "<br>";
inline constexpr const char* kCredentialsRejected = "Incorrect login or password";

enum class EntryKind { CredentialsRejected, ServiceError, Empty, FileAddress };

// Trims bytes at or below the blank, then deletes every " ", ",", "." and ":".
std::string normaliseRequest(const std::string& raw);

// "http://" + host + "/patent_pdf/fetcher.php?patent=" + request + "&name=" + login
// + "&pswd=" + password; the values go in byte for byte, unescaped. A host
// given as "https://host[:port]" makes it an https address instead.
std::string composeFetchAddress(const std::string& host, const std::string& request,
                                const std::string& login, const std::string& password);

// A request cut at the ";" in the middle of its numbers into two requests
// that together name the same numbers in the same order; nothing when it
// names one number only.
std::optional<std::pair<std::string, std::string>> splitRequest(std::string_view request);

// The texts before each "<br>"; what follows the last marker is not an entry.
std::vector<std::string> splitIndexResponse(const std::string& body);

// The entries of an Index response one at a time, without a copy of them all:
// a body of nothing but markers would otherwise take many times its size.
std::size_t countIndexEntries(std::string_view body);
// The entry starting at `*from`, which then moves past its marker; empty
// when no marker follows.
std::optional<std::string_view> nextIndexEntry(std::string_view body, std::size_t* from);

EntryKind classifyEntry(const std::string& entry);

// The text after the last "/", with the first "_full" removed.
std::string localFileName(const std::string& fileAddress);

// A local name that stays inside the patent folder and shows in its list:
// not empty, not hidden (a leading "."), and free of separators, drive colons
// and control bytes.
bool isSafeLocalFileName(const std::string& name);

// Whether the shell may open a saved file: only PDFs, so a service can make
// the program save a file of another type but never run one.
bool isViewableName(const std::string& name);

// Whether fetching a file address listed in the reply to `fetchAddress` would
// leave https: the session cookie and the documents would travel in clear.
// A relative address stays on the fetch address's scheme.
bool leavesHttps(const std::string& fetchAddress, const std::string& fileAddress);
std::string unencryptedAddressMessage(const std::string& fileAddress);

// The message shown for a name that isSafeLocalFileName refuses.
std::string refusedFileNameMessage(const std::string& fileAddress);

}  // namespace FetchProtocol
}  // namespace vantorel
