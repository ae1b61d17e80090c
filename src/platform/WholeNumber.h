#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace vantorel {

// The value of a hexadecimal digit, or -1 for any other character.
int hexDigitValue(char c);

// The program's one text-to-integer conversion (time-out field, stored
// viewing preference). Accepts leading blanks (0x20 only), then a signed
// decimal within 32 bits, or an unsigned hexadecimal introduced by "$", "x",
// "X", "0x" or "0X" with at most eight significant digits.
std::optional<std::int32_t> tryParseWholeNumber(const std::string& text);

// As above; fails with "'<text>' is not a valid integer value".
std::int32_t parseWholeNumber(const std::string& text);

}  // namespace vantorel
