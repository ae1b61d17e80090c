#include <gtest/gtest.h>

#include "platform/TextRules.h"

namespace vantorel {
namespace {

TEST(RoundHalfEven, TiesGoToTheEvenNeighbour) {
    const std::pair<double, int> cases[] = {
        {0.5, 0},         {1.5, 2},         {2.5, 2},        {3.5, 4},
        {12.5, 12},       {100.0 / 8, 12},  {100.0 / 3, 33}, {100.0 / 6, 17},
        {100.0 / 200, 0}, {100.0 / 201, 0}, {0.49, 0},       {0.51, 1},
        {-0.5, 0},        {-1.5, -2},       {-2.6, -3},      {1e12, 2147483647},
    };
    for (const auto& [value, expected] : cases) EXPECT_EQ(roundHalfEven(value), expected) << value;
}

TEST(WithFullStop, AppendsOnlyAfterBytesAboveThePoint) {
    const std::pair<const char*, const char*> cases[] = {
        {"", ""},
        {"'abc' is not a valid integer value", "'abc' is not a valid integer value."},
        {"Connect timed out.", "Connect timed out."},
        {"Failed to set data for ''", "Failed to set data for ''"},
        {"x\"", "x\""},
        {"Really!", "Really!"},
        {"(a)", "(a)"},
        {"a,", "a,"},
        {"a ", "a "},
        {"a-", "a-"},
        {"ok?", "ok?."},
        {"path/", "path/."},
        {"x:", "x:."},
        {"404", "404."},
        {"Z", "Z."},
        {"\xE9", "\xE9."},
    };
    for (const auto& [message, shown] : cases) EXPECT_EQ(withFullStop(message), shown) << message;
}

TEST(LineBreaks, EveryKindBecomesTheToolkitsOneAndAFieldKeepsTheFirstLine) {
    const struct {
        const char* text;
        const char* crLf;
        const char* first;
    } cases[] = {
        {"a\n\rb", "a\r\nb", "a"}, {"a\r\nb", "a\r\nb", "a"},         {"a\nb", "a\r\nb", "a"},
        {"a\rb", "a\r\nb", "a"},   {"a\n\r\n\rb", "a\r\n\r\nb", "a"},  // two breaks stay two
        {"\r\nb", "\r\nb", ""},    {"plain", "plain", "plain"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(withLineBreaks(c.text, "\r\n"), c.crLf) << c.crLf;
        EXPECT_EQ(firstLine(c.text), c.first) << c.crLf;
        EXPECT_EQ(holdsLineBreak(c.text), std::string(c.text) != "plain") << c.crLf;
    }
    EXPECT_EQ(withLineBreaks("a\n\rb\r\nc", "\n"), "a\nb\nc");
}

}  // namespace
}  // namespace vantorel
