#include "WholeNumber.h"

#include "Failure.h"

namespace vantorel {

int hexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

namespace {

std::optional<std::int32_t> parseHex(const std::string& text, std::size_t pos) {
    if (pos >= text.size()) return std::nullopt;
    std::uint32_t value = 0;
    int significant = 0;
    for (; pos < text.size(); ++pos) {
        const int digit = hexDigitValue(text[pos]);
        if (digit < 0) return std::nullopt;
        if (significant > 0 || digit != 0) ++significant;
        if (significant > 8) return std::nullopt;
        value = (value << 4) | static_cast<std::uint32_t>(digit);
    }
    // The 32 bits are taken as they stand, so $FFFFFFFF is -1.
    return static_cast<std::int32_t>(value);
}

}  // namespace

std::optional<std::int32_t> tryParseWholeNumber(const std::string& text) {
    std::size_t pos = 0;
    while (pos < text.size() && text[pos] == ' ') ++pos;
    if (pos >= text.size()) return std::nullopt;

    const char first = text[pos];
    if (first == '$' || first == 'x' || first == 'X') return parseHex(text, pos + 1);
    if (first == '0' && pos + 1 < text.size() && (text[pos + 1] == 'x' || text[pos + 1] == 'X'))
        return parseHex(text, pos + 2);

    bool negative = false;
    if (first == '+' || first == '-') {
        negative = first == '-';
        ++pos;
    }
    if (pos >= text.size()) return std::nullopt;
    std::int64_t value = 0;
    for (; pos < text.size(); ++pos) {
        const char c = text[pos];
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > 2147483648LL) return std::nullopt;
    }
    if (negative) value = -value;
    if (value > 2147483647LL) return std::nullopt;
    return static_cast<std::int32_t>(value);
}

std::int32_t parseWholeNumber(const std::string& text) {
    if (auto value = tryParseWholeNumber(text)) return *value;
    throw Failure("'" + text + "' is not a valid integer value");
}

}  // namespace vantorel
