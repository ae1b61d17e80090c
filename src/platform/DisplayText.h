#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vantorel {

// The program's texts are single-byte strings: file and folder names as the
// file system gives them, texts from the service as they arrive. A window
// shows them as Unicode (UTF-8 here) and must hand back the very same bytes.

// True when `bytes` is well-formed UTF-8 (no overlong forms, no surrogates,
// nothing above U+10FFFF).
bool isValidUtf8(std::string_view bytes);

// The text to show for `bytes`, in UTF-8: valid UTF-8 stays as it is,
// anything else is read byte by byte as Windows-1252, the code page such
// texts were written in. The five bytes that code page leaves undefined show
// as the control characters of the same number, as Windows shows them.
std::string displayText(std::string_view bytes);

// Each byte read as Windows-1252, whatever the text (UTF-8 result).
std::string fromWindows1252(std::string_view bytes);

// The Windows-1252 bytes of a UTF-8 text, or nothing when a character has no
// place in that code page or the text is not UTF-8.
std::optional<std::string> toWindows1252(std::string_view utf8);

// The bytes behind a shown text: `shownFrom` when the text still shows it
// unchanged (so a name that is not UTF-8 survives the trip through a
// window), otherwise the shown text itself as UTF-8.
std::string bytesOfShown(std::string_view shown, std::string_view shownFrom);

}  // namespace vantorel
