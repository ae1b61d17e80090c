#include <gtest/gtest.h>

#include "platform/Failure.h"
#include "platform/WholeNumber.h"
#include "support/CaseName.h"

namespace vantorel {
namespace {

struct Accepted {
    const char* text;
    std::int32_t value;
};

class WholeNumberAccepts : public testing::TestWithParam<Accepted> {};

TEST_P(WholeNumberAccepts, Value) {
    EXPECT_EQ(parseWholeNumber(GetParam().text), GetParam().value) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(Forms, WholeNumberAccepts,
                         testing::Values(Accepted{"120", 120}, Accepted{"   120", 120},
                                         Accepted{"+7", 7}, Accepted{"-7", -7},
                                         Accepted{"0", 0}, Accepted{"-0", 0},
                                         Accepted{"007", 7},
                                         Accepted{"2147483647", 2147483647},
                                         Accepted{"-2147483648", -2147483647 - 1},
                                         Accepted{"$10", 16}, Accepted{"x1f", 31},
                                         Accepted{"X1F", 31}, Accepted{"0x10", 16},
                                         Accepted{"0XfF", 255}, Accepted{"  $7FFFFFFF", 2147483647},
                                         // The 32 bits are taken as they stand.
                                         Accepted{"$FFFFFFFF", -1},
                                         Accepted{"$80000000", -2147483647 - 1},
                                         // Leading zeros are not significant digits.
                                         Accepted{"$000000001", 1}),
                         [](const auto& info) {
                             return test::caseName(info.index, info.param.text);
                         });

class WholeNumberRefuses : public testing::TestWithParam<const char*> {};

TEST_P(WholeNumberRefuses, WithItsText) {
    const std::string text = GetParam();
    try {
        parseWholeNumber(text);
        FAIL() << "accepted '" << text << "'";
    } catch (const Failure& failure) {
        EXPECT_EQ(failure.message(), "'" + text + "' is not a valid integer value");
    }
}

INSTANTIATE_TEST_SUITE_P(Forms, WholeNumberRefuses,
                         testing::Values("", " ", "120 ", "abc", "1.5", "1e3", "+", "-", "$",
                                         "0x", "x", "2147483648", "-2147483649",
                                         "99999999999999999999", "$100000000", "-$10", "+0x1",
                                         "\t5", "5\n", "$G", "12a"),
                         [](const auto& info) {
                             return test::caseName(info.index, info.param);
                         });

}  // namespace
}  // namespace vantorel
