#pragma once

#include <ctime>
#include <string>

namespace vantorel {

// The regional pieces a File date text is made of.
struct LocaleFormats {
    std::string shortDate = "%m/%d/%Y";  // strftime picture of the short date
    std::string timeSeparator = ":";
    bool twelveHour = false;
    bool leadingZeroHour = true;
    std::string amText = "AM";
    std::string pmText = "PM";
    bool amPmBefore = false;  // "PM 3:04:06" rather than "3:04:06 PM"
};

// Reads the pieces from the process locale (LC_TIME), as setlocale left it.
LocaleFormats currentLocaleFormats();

// Derives the time pieces from a strftime time picture such as "%I:%M:%S %p".
// The separator is ":" unless the picture names a single one ("%k.%M.%S").
void applyTimePicture(const std::string& picture, LocaleFormats& formats);

// The shown text for a broken-down local time: the short date, and unless the
// time is 00:00:00 a blank and the time. Seconds are cut to an even number.
std::string formatFileDate(std::tm local, const LocaleFormats& formats);

// A file time (UTC seconds) as shown in the list: local time, current locale.
std::string fileDateText(std::time_t time);

}  // namespace vantorel
