#include "FileDateText.h"

#include <array>

namespace vantorel {
namespace {

// Expands the composite conversions that locales use for their time pictures.
std::string expandPicture(const std::string& picture) {
    std::string out;
    for (std::size_t i = 0; i < picture.size(); ++i) {
        if (picture[i] == '%' && i + 1 < picture.size()) {
            const char c = picture[i + 1];
            if (c == 'T') { out += "%H:%M:%S"; ++i; continue; }
            if (c == 'R') { out += "%H:%M"; ++i; continue; }
            if (c == 'r') { out += "%I:%M:%S %p"; ++i; continue; }
            out += picture[i];
            out += c;
            ++i;
            continue;
        }
        out += picture[i];
    }
    return out;
}

std::string twoDigits(int n) {
    std::string s = std::to_string(n);
    return s.size() < 2 ? "0" + s : s;
}

}  // namespace

void applyTimePicture(const std::string& rawPicture, LocaleFormats& formats) {
    const std::string picture = expandPicture(rawPicture);
    std::size_t hourPos = std::string::npos;
    std::size_t ampmPos = std::string::npos;
    for (std::size_t i = 0; i + 1 < picture.size(); ++i) {
        if (picture[i] != '%') continue;
        // Flags such as "%-I" or "%_H" drop the leading zero.
        std::size_t j = i + 1;
        bool noPad = false;
        while (j < picture.size() && (picture[j] == '-' || picture[j] == '_' || picture[j] == 'E' ||
                                      picture[j] == 'O')) {
            if (picture[j] == '-' || picture[j] == '_') noPad = true;
            ++j;
        }
        if (j >= picture.size()) break;
        const char c = picture[j];
        if (hourPos == std::string::npos && (c == 'H' || c == 'k' || c == 'I' || c == 'l')) {
            hourPos = i;
            formats.twelveHour = c == 'I' || c == 'l';
            formats.leadingZeroHour = !noPad && (c == 'H' || c == 'I');
            // The separator is what stands between the hour and the minutes.
            const std::size_t minutes = picture.find("%M", j + 1);
            if (minutes != std::string::npos && minutes > j + 1)
                formats.timeSeparator = picture.substr(j + 1, minutes - j - 1);
        } else if (ampmPos == std::string::npos && (c == 'p' || c == 'P')) {
            ampmPos = i;
        }
        i = j;
    }
    if (formats.twelveHour && ampmPos != std::string::npos && hourPos != std::string::npos)
        formats.amPmBefore = ampmPos < hourPos;
}

std::string formatFileDate(std::tm local, const LocaleFormats& formats) {
    local.tm_sec -= local.tm_sec % 2;
    std::array<char, 256> buffer{};
    const std::size_t n =
        std::strftime(buffer.data(), buffer.size(), formats.shortDate.c_str(), &local);
    std::string text(buffer.data(), n);
    if (local.tm_hour == 0 && local.tm_min == 0 && local.tm_sec == 0) return text;

    int hour = local.tm_hour;
    std::string ampm;
    if (formats.twelveHour) {
        ampm = hour < 12 ? formats.amText : formats.pmText;
        hour %= 12;
        if (hour == 0) hour = 12;
    }
    std::string time = formats.leadingZeroHour ? twoDigits(hour) : std::to_string(hour);
    time += formats.timeSeparator + twoDigits(local.tm_min) + formats.timeSeparator +
            twoDigits(local.tm_sec);
    if (!ampm.empty()) time = formats.amPmBefore ? ampm + " " + time : time + " " + ampm;
    return text + " " + time;
}

}  // namespace vantorel
