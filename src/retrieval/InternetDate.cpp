#include "retrieval/InternetDate.h"

#include <array>
#include <cstdio>
#include <vector>

#include "retrieval/HttpText.h"

namespace vantorel {
namespace {

constexpr std::array<const char*, 12> kMonths = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                                 "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
constexpr std::array<const char*, 7> kDays = {"SUN", "MON", "TUE", "WED", "THU", "FRI", "SAT"};
constexpr std::array<const char*, 7> kLongDays = {"SUNDAY",   "MONDAY", "TUESDAY", "WEDNESDAY",
                                                  "THURSDAY", "FRIDAY", "SATURDAY"};
constexpr std::size_t kMaxTokens = 12;

// Days since 1970-01-01 of a proleptic Gregorian date.
std::int64_t daysFromCivil(std::int64_t year, int month, int day) {
    year -= month <= 2;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const std::int64_t yearOfEra = year - era * 400;
    const std::int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

int daysInMonth(std::int64_t year, int month) {
    static constexpr int kLengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kLengths[month - 1];
}

bool allDigits(std::string_view text) {
    if (text.empty()) return false;
    for (const char c : text)
        if (c < '0' || c > '9') return false;
    return true;
}

bool allLetters(std::string_view text) {
    for (const char c : text)
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'))) return false;
    return !text.empty();
}

int number(std::string_view digits) {
    int value = 0;
    for (const char c : digits) value = value * 10 + (c - '0');
    return value;
}

template <std::size_t N>
int indexOf(const std::array<const char*, N>& names, const std::string& upper) {
    for (std::size_t i = 0; i < N; ++i)
        if (upper == names[i]) return static_cast<int>(i);
    return -1;
}

// "h:m:s" with one or two digits each.
bool readTime(std::string_view text, int& seconds) {
    int parts[3];
    std::size_t pos = 0;
    for (int i = 0; i < 3; ++i) {
        const std::size_t end = i < 2 ? text.find(':', pos) : text.size();
        if (end == std::string_view::npos) return false;
        const std::string_view part = text.substr(pos, end - pos);
        if (!allDigits(part) || part.size() > 2) return false;
        parts[i] = number(part);
        pos = end + 1;
    }
    if (parts[0] > 23 || parts[1] > 59 || parts[2] > 60) return false;
    seconds = parts[0] * 3600 + parts[1] * 60 + parts[2];
    return true;
}

// Blanks and commas separate everywhere; "-" separates inside a date token,
// except where it opens a "-hhmm" zone.
std::vector<std::string_view> tokens(std::string_view text, bool& tooMany) {
    std::vector<std::string_view> found;
    std::size_t pos = 0;
    tooMany = false;
    while (pos < text.size()) {
        while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t' || text[pos] == ','))
            ++pos;
        std::size_t end = pos;
        while (end < text.size() && text[end] != ' ' && text[end] != '\t' && text[end] != ',')
            ++end;
        std::string_view word = text.substr(pos, end - pos);
        pos = end;
        if (word.empty()) continue;
        const bool zone =
            word.size() == 5 && (word[0] == '+' || word[0] == '-') && allDigits(word.substr(1));
        while (!word.empty()) {
            const std::size_t dash = zone ? std::string_view::npos : word.find('-');
            if (dash != 0) found.push_back(word.substr(0, dash));
            if (found.size() > kMaxTokens) {
                tooMany = true;
                return found;
            }
            word = dash == std::string_view::npos ? std::string_view() : word.substr(dash + 1);
        }
    }
    return found;
}

}  // namespace

std::optional<std::int64_t> parseInternetDate(std::string_view text) {
    bool tooMany = false;
    const auto parts = tokens(text, tooMany);
    if (tooMany) return std::nullopt;

    int day = -1;
    int month = -1;
    int year = -1;
    int timeOfDay = -1;
    int zoneOffset = 0;
    bool zoneSeen = false;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const std::string_view part = parts[i];
        if (part.find(':') != std::string_view::npos) {
            if (timeOfDay >= 0 || !readTime(part, timeOfDay)) return std::nullopt;
        } else if ((part[0] == '+' || part[0] == '-') && part.size() == 5 &&
                   allDigits(part.substr(1))) {
            if (zoneSeen || timeOfDay < 0) return std::nullopt;
            const int hours = number(part.substr(1, 2));
            const int minutes = number(part.substr(3, 2));
            if (minutes > 59) return std::nullopt;
            zoneOffset = (part[0] == '-' ? -1 : 1) * (hours * 3600 + minutes * 60);
            zoneSeen = true;
        } else if (allDigits(part)) {
            if (part.size() > 4) return std::nullopt;
            if (day < 0 && part.size() <= 2)
                day = number(part);
            else if (year < 0)
                year = number(part);
            else
                return std::nullopt;
        } else if (allLetters(part)) {
            const std::string upper = upperAscii(part);
            if (const int m = indexOf(kMonths, upper); m >= 0) {
                if (month >= 0) return std::nullopt;
                month = m + 1;
            } else if (indexOf(kDays, upper) >= 0 || indexOf(kLongDays, upper) >= 0) {
                if (month >= 0 || day >= 0) return std::nullopt;  // only as a leading name
            } else if (timeOfDay >= 0 && !zoneSeen) {
                zoneSeen = true;  // a zone name: taken as UTC
            } else {
                return std::nullopt;
            }
        } else {
            return std::nullopt;
        }
    }
    if (day < 1 || month < 1 || year < 0 || timeOfDay < 0) return std::nullopt;
    if (year < 80)
        year += 2000;
    else if (year < 100)
        year += 1900;
    if (year < 1601 || day > daysInMonth(year, month)) return std::nullopt;
    return daysFromCivil(year, month, day) * 86400 + timeOfDay - zoneOffset;
}

std::string formatInternetDate(std::int64_t seconds) {
    std::int64_t days = seconds / 86400;
    std::int64_t rest = seconds % 86400;
    if (rest < 0) {
        rest += 86400;
        --days;
    }
    // Civil date from days since 1970-01-01.
    const std::int64_t z = days + 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t dayOfEra = z - era * 146097;
    const std::int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t mp = (5 * dayOfYear + 2) / 153;
    const int day = static_cast<int>(dayOfYear - (153 * mp + 2) / 5 + 1);
    const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    const std::int64_t year = yearOfEra + era * 400 + (month <= 2);
    const int weekday = static_cast<int>(((days % 7) + 11) % 7);  // 1970-01-01 was a Thursday

    static constexpr const char* kDayNames[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static constexpr const char* kMonthNames[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                  "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    char text[64];
    std::snprintf(text, sizeof text, "%s, %02d %s %04lld %02d:%02d:%02d GMT", kDayNames[weekday],
                  day, kMonthNames[month - 1], static_cast<long long>(year),
                  static_cast<int>(rest / 3600), static_cast<int>(rest / 60 % 60),
                  static_cast<int>(rest % 60));
    return text;
}

}  // namespace vantorel
