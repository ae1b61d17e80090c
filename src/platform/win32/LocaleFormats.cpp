#include <windows.h>

#include <ctime>

#include "../DatePicture.h"
#include "../FileDateText.h"
#include "FileTimes.h"

namespace vantorel {
namespace {

bool localeText(LCTYPE item, std::string& out) {
    char buffer[128];
    const int length = GetLocaleInfoA(LOCALE_USER_DEFAULT, item, buffer, sizeof buffer);
    if (length <= 0) return false;
    out.assign(buffer, static_cast<std::size_t>(length - 1));
    return true;
}

}  // namespace

LocaleFormats currentLocaleFormats() {
    LocaleFormats formats;
    std::string text;
    if (localeText(LOCALE_SSHORTDATE, text) && !text.empty())
        formats.shortDate = strftimeFromDatePicture(text);
    if (localeText(LOCALE_STIME, text)) formats.timeSeparator = text;
    if (localeText(LOCALE_ITIME, text)) formats.twelveHour = text == "0";
    if (localeText(LOCALE_ITLZERO, text)) formats.leadingZeroHour = text == "1";
    if (localeText(LOCALE_S1159, text)) formats.amText = text;
    if (localeText(LOCALE_S2359, text)) formats.pmText = text;
    if (localeText(LOCALE_ITIMEMARKPOSN, text)) formats.amPmBefore = text == "1";
    return formats;
}

std::string fileDateText(std::time_t time) {
    FILETIME utc{}, local{};
    SYSTEMTIME parts{};
    // A time the conversions cannot hold shows as an empty text; the list goes on.
    if (!win32::fileTimeFromTime(time, utc) || !FileTimeToLocalFileTime(&utc, &local) ||
        !FileTimeToSystemTime(&local, &parts))
        return {};
    std::tm broken{};
    broken.tm_year = parts.wYear - 1900;
    broken.tm_mon = parts.wMonth - 1;
    broken.tm_mday = parts.wDay;
    broken.tm_wday = parts.wDayOfWeek;
    broken.tm_hour = parts.wHour;
    broken.tm_min = parts.wMinute;
    broken.tm_sec = parts.wSecond;
    return formatFileDate(broken, currentLocaleFormats());
}

}  // namespace vantorel
