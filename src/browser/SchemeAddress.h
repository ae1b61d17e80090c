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

}  // namespace vantorel::SchemeAddress
