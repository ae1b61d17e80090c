#include "browser/SchemeAddress.h"

#include <strings.h>

#include <algorithm>
#include <cstring>

#include "platform/WholeNumber.h"

namespace vantorel::SchemeAddress {
namespace {

bool isControl(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7F;
}

// The text of a scheme address with its escapes undone; nothing when one is broken.
std::optional<std::string> unescaped(const std::string& address) {
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
        out += c;
    }
    return out;
}

}  // namespace

bool isSchemeAddress(const std::string& argument) {
    const std::size_t n = std::strlen(kScheme);
    return argument.size() > n && argument[n] == ':' &&
           strncasecmp(argument.c_str(), kScheme, n) == 0;
}

std::optional<std::string> decode(const std::string& address) {
    if (!isSchemeAddress(address)) return std::nullopt;
    auto text = unescaped(address);
    if (!text || std::any_of(text->begin(), text->end(), isControl)) return std::nullopt;
    return text;
}

std::string refusedMessage(const std::string& address) {
    return "The browser handed over an address that cannot be read, so nothing was sent: " +
           address;
}

std::optional<std::string> requestFromArgument(const std::string& argument) {
    if (!isSchemeAddress(argument)) return argument;
    return decode(argument);
}

HandOff handOff(const std::string& argument) {
    if (argument.empty()) return {};
    if (!isSchemeAddress(argument)) return {argument, {}, true};
    const auto text = unescaped(argument);
    if (!text) return {std::nullopt, refusedMessage(argument), false};
    if (text->empty()) return {};
    if (std::none_of(text->begin(), text->end(), isControl)) return {*text, {}, true};

    // Line breaks and blanks at the ends are what the request's trimming drops.
    const auto outer = [](char c) { return static_cast<unsigned char>(c) <= 0x20; };
    const auto first = std::find_if_not(text->begin(), text->end(), outer);
    const auto last = std::find_if_not(text->rbegin(), text->rend(), outer).base();
    if (first >= last) return {};
    const std::string inner(first, last);
    if (std::none_of(inner.begin(), inner.end(), isControl)) return {inner, {}, true};

    std::string field;
    for (std::size_t i = 0; i < inner.size(); ++i) {
        if (!isControl(inner[i])) {
            field += inner[i];
        } else if (i == 0 || !isControl(inner[i - 1])) {
            field += ' ';
        }
    }
    const bool lines = inner.find_first_of("\r\n") != std::string::npos;
    return {field, lines ? kSeveralLinesMessage : kControlCharactersMessage, false};
}

}  // namespace vantorel::SchemeAddress
