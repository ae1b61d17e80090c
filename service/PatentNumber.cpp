#include "PatentNumber.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace vantorel::service {

namespace {

constexpr std::size_t kLongestNumber = 32;

constexpr std::array<std::string_view, 24> kSampleNumbers = {
    "US6892391", "US2005102719", "USRE35312", "USPP8901",   "USD339456",    "UST109201",
    "USH1523",   "WO2005043967", "EP1534056", "DE10362030", "JP2005117900", "GB2408435",
    "FR2862839", "RU2207970",    "AU2954402", "IE12123",    "FI5443",       "NL293832",
    "IT1245565", "SE193831",     "DK1",       "CZ291233",   "GR1002344",    "ES9400001",
};

}  // namespace

std::optional<std::string> canonicalPatentNumber(std::string_view requested) {
    std::string number;
    for (char c : requested) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '-' || c == '/') continue;
        if (byte >= 0x80 || !std::isalnum(byte)) return std::nullopt;
        number.push_back(static_cast<char>(std::toupper(byte)));
        if (number.size() > kLongestNumber) return std::nullopt;
    }
    if (number.empty()) return std::nullopt;
    const bool allDigits =
        std::all_of(number.begin(), number.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (allDigits && number.size() == 7) number = "US" + number;
    return number;
}

bool isSampleNumber(std::string_view canonical) {
    return std::find(kSampleNumbers.begin(), kSampleNumbers.end(), canonical) !=
           kSampleNumbers.end();
}

}  // namespace vantorel::service
