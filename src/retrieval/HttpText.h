#pragma once

#include <string>
#include <string_view>

namespace vantorel {

// Byte-wise ASCII helpers for protocol text (names, tokens, hosts).
std::string upperAscii(std::string_view text);
bool equalsIgnoreCase(std::string_view a, std::string_view b);
// Trims spaces and tabs at both ends.
std::string_view trimBlanks(std::string_view text);
// True for bytes below 0x20 and DEL: never let one reach a request line or header.
bool holdsControlByte(std::string_view text, bool allowTab = false);

}  // namespace vantorel
