#include <gtest/gtest.h>

#include "platform/TextRules.h"

namespace vantorel {
namespace {

TEST(RoundHalfEven, TiesGoToTheEvenNeighbour) {
    const std::pair<double, int> cases[] = {
        {0.5, 0},   {1.5, 2},   {2.5, 2},   {3.5, 4},   {12.5, 12}, {100.0 / 8, 12},
        {100.0 / 3, 33}, {100.0 / 6, 17}, {100.0 / 200, 0}, {100.0 / 201, 0}, {0.49, 0},
        {0.51, 1},  {-0.5, 0},  {-1.5, -2}, {-2.6, -3}, {1e12, 2147483647},
    };
    for (const auto& [value, expected] : cases) EXPECT_EQ(roundHalfEven(value), expected) << value;
}

TEST(WithFullStop, AppendsOnlyAfterBytesAboveThePoint) {
    const std::pair<const char*, const char*> cases[] = {
        {"", ""},
        {"'abc' is not a valid integer value", "'abc' is not a valid integer value."},
        {"Connect timed out.", "Connect timed out."},
        {"Failed to set data for ''", "Failed to set data for ''"},
        {"x\"", "x\""}, {"Really!", "Really!"}, {"(a)", "(a)"}, {"a,", "a,"}, {"a ", "a "},
        {"a-", "a-"}, {"ok?", "ok?."}, {"path/", "path/."}, {"x:", "x:."}, {"404", "404."},
        {"Z", "Z."}, {"\xE9", "\xE9."},
    };
    for (const auto& [message, shown] : cases) EXPECT_EQ(withFullStop(message), shown) << message;
}

}  // namespace
}  // namespace vantorel
