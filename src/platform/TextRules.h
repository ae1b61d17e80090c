#pragma once

#include <string>

namespace vantorel {

// Line break inside the program's own messages: line feed, then carriage return.
inline constexpr const char* kMessageLineBreak = "\n\r";

// Rounds to the nearest whole number, ties to the even neighbour
// (0.5 -> 0, 2.5 -> 2, 3.5 -> 4). Values beyond 32 bits are clamped.
int roundHalfEven(double value);

// The error box's text: a full stop is appended when the message is not empty
// and its last byte is above '.' (letters, digits, "?", ":", "/" ...).
std::string withFullStop(const std::string& message);

}  // namespace vantorel
