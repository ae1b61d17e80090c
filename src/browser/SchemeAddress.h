#pragma once

#include <optional>
#include <string>

namespace vantorel::SchemeAddress {

inline constexpr const char* kScheme = "vantorel";

// True for "vantorel:..." (the scheme compared without regard to case).
bool isSchemeAddress(const std::string& argument);

// The request inside "vantorel:<percent-encoded text>" ("vantorel://" too);
// nothing when an escape is broken or the text holds control characters.
std::optional<std::string> decode(const std::string& address);

// The message shown when decode refuses an address.
std::string refusedMessage(const std::string& address);

// The request a command-line argument stands for: a scheme address is decoded,
// any other argument is taken as it is. Nothing when the address is refused.
std::optional<std::string> requestFromArgument(const std::string& argument);

// What the start-up hand-off does with the command-line argument, in this
// order: put `fieldText` into the patent field when set, show `message` when
// not empty, and run the download command when `download` is true.
struct HandOff {
    std::optional<std::string> fieldText;
    std::string message;
    bool download = false;
};

// A plain argument is downloaded as it is. A scheme address is decoded; a
// selection with line breaks or tabs inside (line breaks at its ends go, as
// the request's own trimming would drop them) is not sent but left in the
// field, each run of them made one blank, with a message saying why.
HandOff handOff(const std::string& argument);

inline constexpr const char* kSeveralLinesMessage =
    "The selected text runs over several lines, so nothing was downloaded. It is now in the "
    "patent field with each line break made a blank: put a semicolon (;) between the patent "
    "numbers and press Download Patent.";
inline constexpr const char* kControlCharactersMessage =
    "The selected text holds tabs or other control characters, so nothing was downloaded. It is "
    "now in the patent field with each of them made a blank: put a semicolon (;) between the "
    "patent numbers and press Download Patent.";

}  // namespace vantorel::SchemeAddress
