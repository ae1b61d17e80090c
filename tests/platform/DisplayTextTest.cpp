#include "platform/DisplayText.h"

#include <gtest/gtest.h>

namespace vantorel {
namespace {

TEST(DisplayText, Utf8StaysAndOtherBytesReadAsWindows1252) {
    const struct {
        const char* bytes;
        const char* shown;
        bool utf8;
    } cases[] = {
        {"", "", true},
        {"US6892391", "US6892391", true},
        {"caf\xc3\xa9", "caf\xc3\xa9", true},  // UTF-8 stays
        {"\xe2\x82\xac \xf0\x9f\x93\x84", "\xe2\x82\xac \xf0\x9f\x93\x84", true},
        {"caf\xe9", "caf\xc3\xa9", false},                        // é
        {"Brevet n\xb0 12", "Brevet n\xc2\xb0 12", false},        // °
        {"\x80\x8a\x9f", "\xe2\x82\xac\xc5\xa0\xc5\xb8", false},  // € Š Ÿ
        {"\x81\x8d\x8f\x90\x9d", "\xc2\x81\xc2\x8d\xc2\x8f\xc2\x90\xc2\x9d", false},
        {"\xc3\xa9\xe9", "\xc3\x83\xc2\xa9\xc3\xa9", false},      // one bad byte: all single-byte
        {"\xc0\xaf", "\xc3\x80\xc2\xaf", false},                  // overlong '/'
        {"\xed\xa0\x80", "\xc3\xad\xc2\xa0\xe2\x82\xac", false},  // a surrogate
        {"\xf4\x90\x80\x80", "\xc3\xb4\xc2\x90\xe2\x82\xac\xe2\x82\xac", false},  // > U+10FFFF
        {"\xe2\x82", "\xc3\xa2\xe2\x80\x9a", false},                              // cut short
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes);
        EXPECT_EQ(isValidUtf8(c.bytes), c.utf8);
        EXPECT_EQ(displayText(c.bytes), c.shown);
    }
}

TEST(DisplayText, EveryByteGoesToWindows1252AndBack) {
    std::string all;
    for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
    const std::string shown = fromWindows1252(all);
    EXPECT_TRUE(isValidUtf8(shown));
    EXPECT_EQ(toWindows1252(shown), all);
    EXPECT_EQ(toWindows1252("\xe2\x80\x9cok\xe2\x80\x9d"), "\x93ok\x94");
    EXPECT_EQ(toWindows1252("\xe4\xb8\xad"), std::nullopt);  // not in the code page
    EXPECT_EQ(toWindows1252("\xe9"), std::nullopt);          // not UTF-8
}

TEST(DisplayText, ShownTextGivesBackItsBytesUntilItChanges) {
    const struct {
        const char* shown;
        const char* from;
        const char* bytes;
    } cases[] = {
        {"caf\xc3\xa9", "caf\xe9", "caf\xe9"},  // unchanged: the original bytes
        {"caf\xc3\xa9", "caf\xc3\xa9", "caf\xc3\xa9"},
        {"caf\xc3\xa9s", "caf\xe9", "caf\xc3\xa9s"},  // edited: what is shown, as UTF-8
        {"typed", "", "typed"},
    };
    for (const auto& c : cases) EXPECT_EQ(bytesOfShown(c.shown, c.from), c.bytes) << c.shown;
}

}  // namespace
}  // namespace vantorel
