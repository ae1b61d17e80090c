#pragma once

#include <string>
#include <string_view>

namespace vantorel {

// Line break inside the program's own messages: line feed, then carriage return.
inline constexpr const char* kMessageLineBreak = "\n\r";

// Whether `text` holds a carriage return or a line feed.
bool holdsLineBreak(std::string_view text);

// `text` up to its first carriage return or line feed: what a single-line
// field keeps of it.
std::string firstLine(std::string_view text);

// `text` with every line break (LF CR, CR LF, a lone LF or CR) made
// `lineBreak`, the one a toolkit draws: CR LF for Windows, LF for Qt.
std::string withLineBreaks(std::string_view text, std::string_view lineBreak);

// Rounds to the nearest whole number, ties to the even neighbour
// (0.5 -> 0, 2.5 -> 2, 3.5 -> 4). Values beyond 32 bits are clamped.
int roundHalfEven(double value);

// The error box's text: a full stop is appended when the message is not empty
// and its last byte is above '.' (letters, digits, "?", ":", "/" ...).
std::string withFullStop(const std::string& message);

}  // namespace vantorel
