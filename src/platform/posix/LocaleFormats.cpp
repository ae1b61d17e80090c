#include <langinfo.h>

#include <ctime>

#include "../FileDateText.h"

namespace vantorel {

LocaleFormats currentLocaleFormats() {
    LocaleFormats formats;
    if (const char* date = nl_langinfo(D_FMT); date && *date) formats.shortDate = date;
    const char* time = nl_langinfo(T_FMT);
    const char* ampm = nl_langinfo(T_FMT_AMPM);
    std::string picture = time && *time ? time : "%H:%M:%S";
    applyTimePicture(picture, formats);
    if (formats.twelveHour && ampm && *ampm) applyTimePicture(ampm, formats);
    if (const char* am = nl_langinfo(AM_STR); am && *am) formats.amText = am;
    if (const char* pm = nl_langinfo(PM_STR); pm && *pm) formats.pmText = pm;
    return formats;
}

std::string fileDateText(std::time_t time) {
    std::tm local{};
    if (!localtime_r(&time, &local)) return {};
    return formatFileDate(local, currentLocaleFormats());
}

}  // namespace vantorel
