#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vantorel::service {

// The canonical form of a requested number: upper case, without the "-" and
// "/" that national formats put in (JP2005-117900, WO2005/043967), and a bare
// seven-digit number taken as a US patent. Empty when the text cannot name a
// document (other characters, or too long), so nothing unsafe reaches a file
// name or an address.
std::optional<std::string> canonicalPatentNumber(std::string_view requested);

// The numbers shown as samples on the first tab; always served.
bool isSampleNumber(std::string_view canonical);

}  // namespace vantorel::service
