#include "browser/SchemeAddress.h"

#include <strings.h>

#include <cstring>

#include "platform/WholeNumber.h"

namespace vantorel::SchemeAddress {
bool isSchemeAddress(const std::string& argument) {
    const std::size_t n = std::strlen(kScheme);
    return argument.size() > n && argument[n] == ':' &&
           strncasecmp(argument.c_str(), kScheme, n) == 0;
}

std::optional<std::string> decode(const std::string& address) {
    if (!isSchemeAddress(address)) return std::nullopt;
    std::string text = address.substr(std::strlen(kScheme) + 1);
    if (text.rfind("//", 0) == 0) text.erase(0, 2);
    // Some browsers add a slash after an authority-less address.
    if (!text.empty() && text.back() == '/' && address.find("://") != std::string::npos)
        text.pop_back();
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '%') {
            const int high = i + 1 < text.size() ? hexDigitValue(text[i + 1]) : -1;
            const int low = i + 2 < text.size() ? hexDigitValue(text[i + 2]) : -1;
            if (high < 0 || low < 0) return std::nullopt;
            c = static_cast<char>(high * 16 + low);
            i += 2;
        }
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) return std::nullopt;
        out += c;
    }
    return out;
}

std::string refusedMessage(const std::string& address) {
    return "The browser handed over an address that cannot be read, so nothing was sent: " +
           address;
}

std::optional<std::string> requestFromArgument(const std::string& argument) {
    if (!isSchemeAddress(argument)) return argument;
    return decode(argument);
}

}  // namespace vantorel::SchemeAddress
