#pragma once

#include <windows.h>

#include <ctime>

namespace vantorel::win32 {

// FILETIME counts 100-nanosecond steps since 1601-01-01 UTC.
inline constexpr long long kFileTimeEpochOffset = 116444736000000000LL;
inline constexpr long long kFileTimeStepsPerSecond = 10000000LL;

inline std::time_t timeFromFileTime(const FILETIME& time) {
    const long long steps =
        (static_cast<long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    const long long since = steps - kFileTimeEpochOffset;
    // Floor, so a time before 1970 does not round up to the next second.
    long long seconds = since / kFileTimeStepsPerSecond;
    if (since % kFileTimeStepsPerSecond < 0) --seconds;
    return static_cast<std::time_t>(seconds);
}

// False for times before 1601, which a FILETIME cannot hold.
inline bool fileTimeFromTime(std::time_t time, FILETIME& out) {
    const long long seconds = static_cast<long long>(time);
    if (seconds < -kFileTimeEpochOffset / kFileTimeStepsPerSecond) return false;
    if (seconds > (0x7fffffffffffffffLL - kFileTimeEpochOffset) / kFileTimeStepsPerSecond)
        return false;
    const long long steps = seconds * kFileTimeStepsPerSecond + kFileTimeEpochOffset;
    out.dwLowDateTime = static_cast<DWORD>(steps & 0xffffffffLL);
    out.dwHighDateTime = static_cast<DWORD>(static_cast<unsigned long long>(steps) >> 32);
    return true;
}

}  // namespace vantorel::win32
