#include "platform/DisplayText.h"

#include <array>

namespace vantorel {
namespace {

// 0x80..0x9F of Windows-1252; the undefined five map to themselves.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char32_t windows1252(unsigned char byte) {
    return byte >= 0x80 && byte < 0xA0 ? kHighControls[byte - 0x80] : byte;
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Decodes one UTF-8 character at `at`; nothing when it is not well-formed.
std::optional<char32_t> nextUtf8(std::string_view text, std::size_t& at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    int length = 0;
    char32_t c = 0;
    char32_t least = 0;
    if (lead < 0x80) {
        ++at;
        return lead;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2, c = lead & 0x1F, least = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, c = lead & 0x0F, least = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, c = lead & 0x07, least = 0x10000;
    } else {
        return std::nullopt;
    }
    if (text.size() - at < static_cast<std::size_t>(length)) return std::nullopt;
    for (int i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80) return std::nullopt;
        c = (c << 6) | (byte(at + i) & 0x3F);
    }
    if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return std::nullopt;
    at += length;
    return c;
}

}  // namespace

bool isValidUtf8(std::string_view bytes) {
    for (std::size_t at = 0; at < bytes.size();)
        if (!nextUtf8(bytes, at)) return false;
    return true;
}

std::string fromWindows1252(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 2);
    for (const char b : bytes) appendUtf8(out, windows1252(static_cast<unsigned char>(b)));
    return out;
}

std::string displayText(std::string_view bytes) {
    return isValidUtf8(bytes) ? std::string(bytes) : fromWindows1252(bytes);
}

std::optional<std::string> toWindows1252(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t at = 0; at < utf8.size();) {
        const auto c = nextUtf8(utf8, at);
        if (!c) return std::nullopt;
        if (*c < 0x80 || (*c >= 0xA0 && *c <= 0xFF)) {
            out += static_cast<char>(*c);
            continue;
        }
        std::size_t index = 0;
        while (index < kHighControls.size() && kHighControls[index] != *c) ++index;
        if (index == kHighControls.size()) return std::nullopt;
        out += static_cast<char>(0x80 + index);
    }
    return out;
}

std::string bytesOfShown(std::string_view shown, std::string_view shownFrom) {
    if (displayText(shownFrom) == shown) return std::string(shownFrom);
    return std::string(shown);
}

}  // namespace vantorel
