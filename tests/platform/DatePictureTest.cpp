#include <gtest/gtest.h>

#include "platform/DatePicture.h"

namespace vantorel {
namespace {

TEST(DatePicture, WindowsShortDatesBecomeStrftimePictures) {
    const std::pair<const char*, const char*> cases[] = {
        {"M/d/yyyy", "%#m/%#d/%Y"},
        {"dd.MM.yyyy", "%d.%m.%Y"},
        {"dd.MM.yy", "%d.%m.%y"},
        {"yyyy-MM-dd", "%Y-%m-%d"},
        {"d/M/y", "%#d/%#m/%#y"},
        {"ddd dd MMM yyyyy", "%a %d %b %Y"},
        {"dddd, MMMM d", "%A, %B %#d"},
        {"d' de 'MMMM", "%#d de %B"},
        {"'It''s' d", "It's %#d"},
        {"d''M", "%#d'%#m"},
        {"gg yyyy", " %Y"},
        {"d%M", "%#d%%%#m"},
        {"'open", "open"},
        {"", ""},
    };
    for (const auto& [picture, expected] : cases)
        EXPECT_EQ(strftimeFromDatePicture(picture), expected) << picture;
}

}  // namespace
}  // namespace vantorel
