#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vantorel {

// Cookie expiry dates in the usual Internet forms ("Sun, 06 Nov 1994
// 08:49:37 GMT", "Sunday, 06-Nov-94 08:49:37 GMT", "Sun Nov  6 08:49:37 1994",
// with or without the day name, "+hhmm"/"-hhmm" zones applied, any other zone
// taken as UTC). Seconds since 1970-01-01 UTC; empty when unreadable.
std::optional<std::int64_t> parseInternetDate(std::string_view text);

// "Sun, 06 Nov 1994 08:49:37 GMT".
std::string formatInternetDate(std::int64_t secondsSinceEpoch);

}  // namespace vantorel
