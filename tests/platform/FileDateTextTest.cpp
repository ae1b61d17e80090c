#include <gtest/gtest.h>

#include "platform/FileDateText.h"

namespace vantorel {
namespace {

std::tm at(int year, int month, int day, int hour, int minute, int second) {
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    return t;
}

TEST(FileDateText, TwentyFourHourClockWithEvenSeconds) {
    LocaleFormats f;
    f.shortDate = "%d.%m.%Y";
    EXPECT_EQ(formatFileDate(at(2005, 5, 10, 9, 4, 7), f), "10.05.2005 09:04:06");
    EXPECT_EQ(formatFileDate(at(2005, 5, 10, 23, 59, 59), f), "10.05.2005 23:59:58");
}

TEST(FileDateText, MidnightShowsTheDateAlone) {
    LocaleFormats f;
    EXPECT_EQ(formatFileDate(at(2006, 1, 2, 0, 0, 0), f), "01/02/2006");
    // One second past midnight is cut to 00:00:00 and shows no time either.
    EXPECT_EQ(formatFileDate(at(2006, 1, 2, 0, 0, 1), f), "01/02/2006");
    EXPECT_EQ(formatFileDate(at(2006, 1, 2, 0, 0, 2), f), "01/02/2006 00:00:02");
}

TEST(FileDateText, TwelveHourClockPlacesAmPmAsTheLocaleSays) {
    LocaleFormats f;
    applyTimePicture("%I:%M:%S %p", f);
    EXPECT_TRUE(f.twelveHour);
    EXPECT_EQ(formatFileDate(at(2005, 5, 10, 15, 4, 6), f), "05/10/2005 03:04:06 PM");
    EXPECT_EQ(formatFileDate(at(2005, 5, 10, 0, 30, 0), f), "05/10/2005 12:30:00 AM");
    EXPECT_EQ(formatFileDate(at(2005, 5, 10, 12, 0, 0), f), "05/10/2005 12:00:00 PM");

    LocaleFormats before;
    applyTimePicture("%p %l.%M.%S", before);
    before.amText = "AM";
    before.pmText = "PM";
    EXPECT_FALSE(before.leadingZeroHour);
    EXPECT_EQ(before.timeSeparator, ".");
    EXPECT_EQ(formatFileDate(at(2005, 5, 10, 15, 4, 6), before), "05/10/2005 PM 3.04.06");
}

TEST(FileDateText, TimePicturesOfCommonLocales) {
    struct Case {
        const char* picture;
        bool twelve;
        bool zero;
        const char* separator;
    };
    const Case cases[] = {
        {"%H:%M:%S", false, true, ":"}, {"%T", false, true, ":"},  {"%r", true, true, ":"},
        {"%k.%M.%S", false, false, "."}, {"%-I:%M:%S %p", true, false, ":"},
        {"%Hh%Mm%S", false, true, "h"},
    };
    for (const Case& c : cases) {
        LocaleFormats f;
        applyTimePicture(c.picture, f);
        EXPECT_EQ(f.twelveHour, c.twelve) << c.picture;
        EXPECT_EQ(f.leadingZeroHour, c.zero) << c.picture;
        EXPECT_EQ(f.timeSeparator, c.separator) << c.picture;
    }
}

TEST(FileDateText, TimesOutsideTheUsualRangeStillFormat) {
    // Far past and far future file times must not break the list.
    EXPECT_FALSE(fileDateText(0).empty());
    EXPECT_FALSE(fileDateText(static_cast<std::time_t>(5000000000LL)).empty());
}

}  // namespace
}  // namespace vantorel
