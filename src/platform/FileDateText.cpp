#include "FileDateText.h"

#include <array>
#include <cstring>
#include <vector>

namespace vantorel {
namespace {

// Expands the composite conversions that locales use for their time pictures.
std::string expandPicture(const std::string& picture) {
    std::string out;
    for (std::size_t i = 0; i < picture.size(); ++i) {
        if (picture[i] == '%' && i + 1 < picture.size()) {
            const char c = picture[i + 1];
            if (c == 'T') {
                out += "%H:%M:%S";
                ++i;
                continue;
            }
            if (c == 'R') {
                out += "%H:%M";
                ++i;
                continue;
            }
            if (c == 'r') {
                out += "%I:%M:%S %p";
                ++i;
                continue;
            }
            out += picture[i];
            out += c;
            ++i;
            continue;
        }
        out += picture[i];
    }
    return out;
}

// A time picture as a row of conversions ("%H", flags noted) and the plain
// texts between them.
struct PictureItem {
    char conversion = 0;  // 0 for plain text
    bool noPad = false;   // "%-I", "%_H"
    std::string text;
};

std::vector<PictureItem> splitPicture(const std::string& picture) {
    std::vector<PictureItem> items;
    auto plain = [&](const std::string& text) {
        if (items.empty() || items.back().conversion) items.push_back({});
        items.back().text += text;
    };
    for (std::size_t i = 0; i < picture.size(); ++i) {
        if (picture[i] != '%' || i + 1 == picture.size()) {
            plain(std::string(1, picture[i]));
            continue;
        }
        std::size_t j = i + 1;
        bool noPad = false;
        while (j < picture.size() && picture[j] && std::strchr("-_0^#EO", picture[j])) {
            if (picture[j] == '-' || picture[j] == '_') noPad = true;
            ++j;
        }
        if (j == picture.size()) break;
        if (picture[j] == '%') {
            plain("%");
        } else if (picture[j] == 'n' || picture[j] == 't') {
            plain(picture[j] == 'n' ? "\n" : "\t");
        } else {
            items.push_back({picture[j], noPad, {}});
        }
        i = j;
    }
    return items;
}

std::string twoDigits(int n) {
    std::string s = std::to_string(n);
    return s.size() < 2 ? "0" + s : s;
}

}  // namespace

void applyTimePicture(const std::string& rawPicture, LocaleFormats& formats) {
    const std::vector<PictureItem> items = splitPicture(expandPicture(rawPicture));
    const auto find = [&](const char* conversions, std::size_t from) {
        for (std::size_t i = from; i < items.size(); ++i)
            if (items[i].conversion && std::strchr(conversions, items[i].conversion)) return i;
        return items.size();
    };
    const std::size_t hour = find("HkIl", 0);
    if (hour == items.size()) return;
    const char h = items[hour].conversion;
    formats.twelveHour = h == 'I' || h == 'l';
    formats.leadingZeroHour = !items[hour].noPad && (h == 'H' || h == 'I');
    const std::size_t ampm = find("pP", 0);
    if (formats.twelveHour && ampm != items.size()) formats.amPmBefore = ampm < hour;

    // The time is always hours, separator, minutes, separator, seconds. The
    // picture names that separator only when one plain text stands between
    // the hours and the minutes and again between the minutes and the
    // seconds, and nothing but the AM/PM mark follows ("%H時%M分%S秒" names
    // none); otherwise the separator is ":".
    formats.timeSeparator = ":";
    const std::size_t minutes = find("M", hour);
    if (minutes != hour + 2 || items[hour + 1].conversion) return;
    const std::string& separator = items[hour + 1].text;
    std::size_t last = minutes;
    if (const std::size_t seconds = find("S", minutes); seconds != items.size()) {
        if (seconds != minutes + 2 || items[minutes + 1].text != separator) return;
        last = seconds;
    }
    for (std::size_t i = last + 1; i < items.size(); ++i) {
        const bool mark = items[i].conversion == 'p' || items[i].conversion == 'P';
        const bool blanks =
            !items[i].conversion && items[i].text.find_first_not_of(' ') == std::string::npos;
        if (!mark && !blanks) return;
    }
    formats.timeSeparator = separator;
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
