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
        {"%H:%M:%S", false, true, ":"},
        {"%T", false, true, ":"},
        {"%r", true, true, ":"},
        {"%k.%M.%S", false, false, "."},
        {"%-I:%M:%S %p", true, false, ":"},
        {"%Hh%Mm%S", false, true, ":"},
        {"%H.%M.%S Uhr", false, true, ":"},
        {"%H:%M", false, true, ":"},
        {"%H - %M - %S", false, true, " - "},
    };
    for (const Case& c : cases) {
        LocaleFormats f;
        applyTimePicture(c.picture, f);
        EXPECT_EQ(f.twelveHour, c.twelve) << c.picture;
        EXPECT_EQ(f.leadingZeroHour, c.zero) << c.picture;
        EXPECT_EQ(f.timeSeparator, c.separator) << c.picture;
    }
}

// The pictures glibc gives (T_FMT, T_FMT_AMPM), read as the POSIX backend
// reads them: the 12-hour picture counts only when the first one is 12-hour.
TEST(FileDateText, RegionsKeepHoursSeparatorMinutesSeparatorSeconds) {
    struct Case {
        const char* region;
        const char* time;
        const char* timeAmPm;
        const char* shown;
    };
    const Case cases[] = {
        {"ja_JP", "%H\u6642%M\u5206%S\u79d2", "%p%I\u6642%M\u5206%S\u79d2", "15:20:44"},
        {"ko_KR", "%H\uc2dc %M\ubd84 %S\ucd08", "%p %I\uc2dc %M\ubd84 %S\ucd08", "15:20:44"},
        {"en_US", "%r", "%I:%M:%S %p", "03:20:44 PM"},
        {"en_GB", "%T", "%l:%M:%S %P %Z", "15:20:44"},
        {"de_DE", "%T", "", "15:20:44"},
        {"fr_FR", "%T", "", "15:20:44"},
        {"fi_FI", "%H.%M.%S", "", "15.20.44"},
    };
    for (const Case& c : cases) {
        LocaleFormats f;
        f.shortDate = "%Y-%m-%d";
        applyTimePicture(c.time, f);
        if (f.twelveHour && *c.timeAmPm) applyTimePicture(c.timeAmPm, f);
        EXPECT_EQ(formatFileDate(at(2026, 12, 10, 15, 20, 45), f),
                  std::string("2026-12-10 ") + c.shown)
            << c.region;
    }
}

TEST(FileDateText, TimesOutsideTheUsualRangeStillFormat) {
    // Far past and far future file times must not break the list.
    EXPECT_FALSE(fileDateText(0).empty());
    EXPECT_FALSE(fileDateText(static_cast<std::time_t>(5000000000LL)).empty());
}

}  // namespace
}  // namespace vantorel
